// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Layouts
import Velmora.JobControl

// The SORTER tab: source folder, sort settings, scan figures and the progress
// of the sort, on the shared job screen.
JobScreen {
    id: view

    tabName: "SORTER"
    settingsTitle: qsTr("PENGATURAN SORTER")
    folderTitle: qsTr("FOLDER SUMBER")
    folderIcon: "folder.fill"
    progressTitle: qsTr("PROGRESS SORTER")
    startText: qsTr("MULAI SORTIR")

    model: SorterModel {
        id: m
    }

    pickers: [
        LabeledPicker {
            objectName: "modePicker"
            caption: qsTr("MODE SORTIR")
            // The sort worker's own names of its modes, as the status line shows them.
            options: [{
                    "text": "MOVE",
                    "value": "MOVE"
                }, {
                    "text": "COPY",
                    "value": "COPY"
                }]
            value: m.mode
            onActivated: value => m.mode = value
        },
        LabeledPicker {
            objectName: "workersPicker"
            caption: qsTr("WORKERS")
            options: PickerOptions.numbers([2, 4, 6, 8])
            value: m.workers
            // A run keeps the workers it started with.
            pickerEnabled: !m.isBusy
            disabledHint: view.busyHint
            onActivated: value => m.workers = value
        },
        RowLayout {
            Layout.fillWidth: true
            spacing: 4

            LabeledPicker {
                objectName: "oddFoldersPicker"
                Layout.preferredWidth: 1
                //: GANJIL names the folders of the odd-numbered photos on disk: keep it.
                caption: qsTr("FOLDER GANJIL")
                captionSize: 7
                controlSize: "mini"
                options: PickerOptions.numbers([1, 2, 3, 4, 5, 6, 7, 8])
                value: m.oddFolders
                onActivated: value => m.oddFolders = value
            }

            LabeledPicker {
                objectName: "evenFoldersPicker"
                Layout.preferredWidth: 1
                //: GENAP names the folders of the even-numbered photos on disk: keep it.
                caption: qsTr("FOLDER GENAP")
                captionSize: 7
                controlSize: "mini"
                options: PickerOptions.numbers([1, 2, 3, 4, 5, 6, 7, 8])
                value: m.evenFolders
                onActivated: value => m.evenFolders = value
            }
        }
    ]

    figures: [
        StatBox {
            objectName: "totalBox"
            value: String(m.total)
            //: The numbered photos the scan found.
            title: qsTr("TOTAL")
        },
        StatBox {
            objectName: "oddBox"
            value: String(m.odd)
            // GANJIL and GENAP name the folders the sort makes on disk, so
            // they read the same in every language.
            title: "GANJIL"
        },
        StatBox {
            objectName: "evenBox"
            value: String(m.even)
            title: "GENAP"
        },
        StatBox {
            objectName: "ignoredBox"
            value: String(m.ignored)
            //: The files the scan left out.
            title: qsTr("IGNORE")
        }
    ]
}
