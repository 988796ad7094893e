// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls.Fusion
import QtQuick.Layouts
import Velmora
import Velmora.JobControl

// What both job screens share: a scrolling column of the settings card (the
// folder row, the screen's pickers, SCAN FOLDER and the screen's figure boxes
// in two columns) and the progress card (the progress panel over the run
// buttons), the alert and the folder chooser. The screen owns its model and
// only shows and sets it; a screen file adds the model, its titles, pickers
// and figure boxes. While a scan or a run is busy, BROWSE is disabled, so the
// figures on screen always belong to the folder shown. STOP asks first, then
// ends the busy scan or run (JobModel.stop()). A folder dragged from the file
// manager onto the screen chooses it as BROWSE does (a file, the folder that
// holds it): the screen is outlined while such a drag hovers, and a drag it
// refuses (while BROWSE is disabled, or naming nothing here) says why.
Item {
    id: screen

    /// The tab the screen belongs to: "SORTER" or "COMPRESS".
    property string tabName

    /// The screen's job model (a SorterModel or a CompressModel).
    property JobModel model
    property string settingsTitle
    property string folderTitle
    property string folderIcon
    property string progressTitle
    property string startText
    /// The screen's pickers, under the folder row.
    property alias pickers: pickerColumn.data
    /// The screen's figure boxes, under SCAN FOLDER.
    property alias figures: figureGrid.data
    /// Why a control that would change the busy job is disabled.
    readonly property string busyHint: qsTr("Tidak dapat diubah selama scan atau proses berjalan.")

    ScrollView {
        id: scroll

        anchors.fill: parent
        contentWidth: availableWidth

        Item {
            width: scroll.availableWidth
            implicitHeight: cards.implicitHeight + 18

            ColumnLayout {
                id: cards

                x: 9
                y: 9
                width: parent.width - 18
                spacing: 5

                SectionCard {
                    objectName: "settingsCard"
                    Layout.fillWidth: true
                    title: screen.settingsTitle

                    FolderRow {
                        objectName: "sourceRow"
                        Layout.fillWidth: true
                        title: screen.folderTitle
                        icon: screen.folderIcon
                        path: screen.model.sourcePath !== "" ? screen.model.sourcePath : qsTr("Belum dipilih")
                        browseEnabled: !screen.model.isBusy
                        disabledHint: screen.busyHint
                        onAction: screen.model.chooseSource()
                    }

                    ColumnLayout {
                        id: pickerColumn

                        Layout.fillWidth: true
                        spacing: 5
                    }

                    PurpleButtonStyle {
                        objectName: "scanButton"
                        Layout.fillWidth: true
                        text: qsTr("SCAN FOLDER")
                        symbol: "magnifyingglass"
                        font.pixelSize: 8
                        enabled: screen.model.canScan
                        onClicked: screen.model.scan()
                    }

                    GridLayout {
                        id: figureGrid

                        Layout.fillWidth: true
                        columns: 2
                        rowSpacing: 3
                        columnSpacing: 8
                    }
                }

                SectionCard {
                    objectName: "progressCard"
                    Layout.fillWidth: true
                    title: screen.progressTitle

                    CompactProgressPanel {
                        objectName: "progressPanel"
                        Layout.fillWidth: true
                        title: screen.model.status
                        progress: screen.model.progress
                        percent: screen.model.percent
                        speed: screen.model.speedText
                        eta: screen.model.eta
                        count: screen.model.processed + "/" + screen.model.total
                        failed: screen.model.failed
                        paused: screen.model.isPaused
                        busy: screen.model.isBusy
                    }

                    RunButtons {
                        Layout.fillWidth: true
                        busy: screen.model.isBusy
                        paused: screen.model.isPaused
                        stopping: screen.model.isStopping
                        ready: screen.model.scanReady
                        startText: screen.startText
                        onStartClicked: screen.model.start()
                        onPauseClicked: screen.model.togglePause()
                        onStopClicked: stopQuestion.open()
                    }
                }
            }
        }
    }

    // Over the cards, so that it meets a drag first; it takes no clicks.
    DropArea {
        id: dropArea

        objectName: "dropArea"
        anchors.fill: parent

        /// Why a drop of `urls` here chooses no folder; empty when it would.
        function refusal(urls) {
            return screen.model.isBusy ? screen.busyHint : screen.model.dropRefusal(urls);
        }

        /// Shows `reason` under the pointer at `x`, `y` for a while.
        function refuse(reason, x, y) {
            dropHint.show(reason, 4000);
            dropHint.x = Math.max(0, Math.min(x - dropHint.width / 2, width - dropHint.width));
            dropHint.y = y + 18;
        }

        onEntered: drag => {
            const reason = drag.hasUrls ? refusal(drag.urls) : "";
            drag.accepted = drag.hasUrls && reason === "";
            if (reason !== "")
                refuse(reason, drag.x, drag.y);
            else
                dropHint.hide();
        }
        onDropped: drop => {
            // The dragged item may have gone, or a run begun, since it came in.
            const reason = refusal(drop.urls);
            if (reason !== "") {
                drop.accepted = false;
                refuse(reason, drop.x, drop.y);
                return;
            }
            drop.accept(Qt.CopyAction);
            screen.model.takeDroppedUrls(drop.urls);
        }

        Rectangle {
            objectName: "dropHighlight"
            anchors.fill: parent
            anchors.margins: 4
            radius: 9
            visible: dropArea.containsDrag
            color: Theme.withOpacity(Theme.purple, 0.08)
            border.color: Theme.withOpacity(Theme.purple, 0.75)
            border.width: 2
        }

        ToolTip {
            id: dropHint

            objectName: "dropHint"
        }
    }

    // Set aside out of the window (MainAppView), the screen has no window to
    // open its alert in: an alert raised meanwhile opens once it is back.
    VelmoraAlert {
        objectName: "alert"
        shown: screen.model.showAlert && screen.Window.window !== null
        message: screen.model.alertText
        failures: screen.model.alertFailures
        failedCount: screen.model.failed
        folder: screen.model.alertFolder
        onDismissed: screen.model.showAlert = false
        onCopyRequested: screen.model.copyFailures()
    }

    // Before a stop: finished photos stay finished, the rest where they are.
    VelmoraDialog {
        id: stopQuestion

        objectName: "stopQuestion"
        title: "Velmora"
        message: qsTr("Hentikan proses ini? Foto yang sudah selesai tetap selesai, sisanya tetap di tempatnya.")
        buttons: [
            PurpleButtonStyle {
                objectName: "stopCancelButton"
                focus: true
                filled: false
                text: qsTr("BATAL")
                font.pixelSize: 11
                onClicked: stopQuestion.reject()
            },
            PurpleButtonStyle {
                objectName: "stopConfirmButton"
                //: Ends the job.
                text: qsTr("HENTIKAN")
                font.pixelSize: 11
                onClicked: {
                    stopQuestion.accept();
                    screen.model.stop();
                }
            }
        ]
    }

    // The desktop's own folder chooser where it offers one (its portal or
    // its toolkit's), else the window's own; modal to the window either way.
    DesktopFolderChooser {
        id: desktopChooser

        title: screen.model.chooserTitle
        folder: screen.model.chooserFolder
        //: The accept button of the desktop's folder chooser.
        acceptLabel: qsTr("Buka")
        onChosen: folder => screen.model.takeChosenFolder(folder)
        onOwnDialogNeeded: ownChooser.openIn(screen.model.chooserFolder)
    }

    FolderChooserDialog {
        id: ownChooser

        objectName: "folderChooser"
        title: screen.model.chooserTitle
        onFolderChosen: folder => screen.model.takeChosenFolder(folder)
    }

    Connections {
        target: screen.model

        function onFolderChooserRequested() {
            desktopChooser.open(screen.Window.window);
        }
    }
}
