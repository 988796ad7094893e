import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Velmora.JobControl

// The SORTER tab: source folder, sort settings, scan figures and the progress
// of the sort. The screen owns its SorterModel and only shows and sets it.
Item {
    id: screen

    /// The screen's model, for tests.
    readonly property alias model: m

    SorterModel {
        id: m

        objectName: "sorterModel"
    }

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
                    title: "PENGATURAN SORTER"

                    FolderRow {
                        objectName: "sourceRow"
                        Layout.fillWidth: true
                        title: "FOLDER SUMBER"
                        icon: "folder.fill"
                        path: m.sourcePath !== "" ? m.sourcePath : "Belum dipilih"
                        onAction: m.chooseSource()
                    }

                    LabeledPicker {
                        objectName: "modePicker"
                        Layout.fillWidth: true
                        caption: "MODE SORTIR"
                        options: [{
                                "text": "MOVE",
                                "value": "MOVE"
                            }, {
                                "text": "COPY",
                                "value": "COPY"
                            }]
                        value: m.mode
                        onActivated: value => m.mode = value
                    }

                    LabeledPicker {
                        objectName: "workersPicker"
                        Layout.fillWidth: true
                        caption: "WORKERS"
                        options: PickerOptions.numbers([2, 4, 6, 8])
                        value: m.workers
                        onActivated: value => m.workers = value
                    }

                    RowLayout {
                        Layout.fillWidth: true
                        spacing: 4

                        LabeledPicker {
                            objectName: "oddFoldersPicker"
                            Layout.fillWidth: true
                            Layout.preferredWidth: 1
                            caption: "FOLDER GANJIL"
                            captionSize: 7
                            controlSize: "mini"
                            options: PickerOptions.numbers([1, 2, 3, 4, 5, 6, 7, 8])
                            value: m.oddFolders
                            onActivated: value => m.oddFolders = value
                        }

                        LabeledPicker {
                            objectName: "evenFoldersPicker"
                            Layout.fillWidth: true
                            Layout.preferredWidth: 1
                            caption: "FOLDER GENAP"
                            captionSize: 7
                            controlSize: "mini"
                            options: PickerOptions.numbers([1, 2, 3, 4, 5, 6, 7, 8])
                            value: m.evenFolders
                            onActivated: value => m.evenFolders = value
                        }
                    }

                    PurpleButtonStyle {
                        objectName: "scanButton"
                        Layout.fillWidth: true
                        text: "SCAN FOLDER"
                        symbol: "magnifyingglass"
                        font.pixelSize: 8
                        enabled: m.sourceURL.toString() !== "" && !m.isBusy
                        onClicked: m.scan()
                    }

                    GridLayout {
                        Layout.fillWidth: true
                        columns: 2
                        rowSpacing: 3
                        columnSpacing: 8

                        StatBox {
                            objectName: "totalBox"
                            Layout.fillWidth: true
                            Layout.preferredWidth: 1
                            value: String(m.total)
                            title: "TOTAL"
                        }

                        StatBox {
                            objectName: "oddBox"
                            Layout.fillWidth: true
                            Layout.preferredWidth: 1
                            value: String(m.odd)
                            title: "GANJIL"
                        }

                        StatBox {
                            objectName: "evenBox"
                            Layout.fillWidth: true
                            Layout.preferredWidth: 1
                            value: String(m.even)
                            title: "GENAP"
                        }

                        StatBox {
                            objectName: "ignoredBox"
                            Layout.fillWidth: true
                            Layout.preferredWidth: 1
                            value: String(m.ignored)
                            title: "IGNORE"
                        }
                    }
                }

                SectionCard {
                    objectName: "progressCard"
                    Layout.fillWidth: true
                    title: "PROGRESS SORTER"

                    CompactProgressPanel {
                        objectName: "progressPanel"
                        Layout.fillWidth: true
                        title: m.status
                        progress: m.progress
                        speed: m.speedText
                        eta: m.eta
                        count: m.processed + "/" + m.total
                        failed: m.failed
                    }

                    RunButtons {
                        Layout.fillWidth: true
                        busy: m.isBusy
                        paused: m.isPaused
                        ready: m.scanReady
                        startText: "MULAI SORTIR"
                        onStartClicked: m.start()
                        onPauseClicked: m.togglePause()
                    }
                }
            }
        }
    }

    VelmoraAlert {
        objectName: "alert"
        shown: m.showAlert
        message: m.alertText
        onDismissed: m.showAlert = false
    }
}
