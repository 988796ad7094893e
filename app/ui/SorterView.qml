import QtQuick
import QtQuick.Layouts
import Velmora.JobControl

// The SORTER tab: source folder, sort settings, scan figures and the progress
// of the sort, on the shared job screen.
JobScreen {
    settingsTitle: "PENGATURAN SORTER"
    folderTitle: "FOLDER SUMBER"
    folderIcon: "folder.fill"
    progressTitle: "PROGRESS SORTER"
    startText: "MULAI SORTIR"

    model: SorterModel {
        id: m
    }

    pickers: [
        LabeledPicker {
            objectName: "modePicker"
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
        },
        LabeledPicker {
            objectName: "workersPicker"
            caption: "WORKERS"
            options: PickerOptions.numbers([2, 4, 6, 8])
            value: m.workers
            onActivated: value => m.workers = value
        },
        RowLayout {
            Layout.fillWidth: true
            spacing: 4

            LabeledPicker {
                objectName: "oddFoldersPicker"
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
                Layout.preferredWidth: 1
                caption: "FOLDER GENAP"
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
            title: "TOTAL"
        },
        StatBox {
            objectName: "oddBox"
            value: String(m.odd)
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
            title: "IGNORE"
        }
    ]
}
