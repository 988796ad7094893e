import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Velmora.JobControl

// The COMPRESS tab: photo folder, quality and workers, scan figures with the
// sizes before and after, and the progress of the compression. The screen
// owns its CompressModel and only shows and sets it.
Item {
    id: screen

    /// The screen's model, for tests.
    readonly property alias model: m

    CompressModel {
        id: m

        objectName: "compressModel"
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
                    title: "PENGATURAN COMPRESS"

                    FolderRow {
                        objectName: "sourceRow"
                        Layout.fillWidth: true
                        title: "FOLDER FOTO"
                        icon: "photo.stack.fill"
                        path: m.sourcePath !== "" ? m.sourcePath : "Belum dipilih"
                        onAction: m.chooseSource()
                    }

                    LabeledPicker {
                        objectName: "qualityPicker"
                        Layout.fillWidth: true
                        caption: "KUALITAS"
                        options: [25, 50, 75, 100].map(q => ({
                                    "text": q + "%",
                                    "value": q
                                }))
                        value: m.quality
                        // A scan made at another quality would name the wrong
                        // output folder, so a real change discards it.
                        onActivated: value => {
                            if (value === m.quality)
                                return;
                            m.quality = value;
                            m.resetScan();
                        }
                    }

                    LabeledPicker {
                        objectName: "workersPicker"
                        Layout.fillWidth: true
                        caption: "WORKERS"
                        options: PickerOptions.numbers([2, 4, 6, 8])
                        value: m.workers
                        onActivated: value => m.workers = value
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
                            title: "FOTO"
                        }

                        StatBox {
                            objectName: "ignoredBox"
                            Layout.fillWidth: true
                            Layout.preferredWidth: 1
                            value: String(m.ignored)
                            title: "IGNORE"
                        }

                        StatBox {
                            objectName: "beforeBox"
                            Layout.fillWidth: true
                            Layout.preferredWidth: 1
                            value: m.beforeText
                            title: "AWAL"
                        }

                        StatBox {
                            objectName: "afterBox"
                            Layout.fillWidth: true
                            Layout.preferredWidth: 1
                            value: m.afterText
                            title: "HASIL"
                        }
                    }
                }

                SectionCard {
                    objectName: "progressCard"
                    Layout.fillWidth: true
                    title: "PROGRESS COMPRESS"

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
                        startText: "MULAI COMPRESS"
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
