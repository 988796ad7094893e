import QtQuick
import Velmora.JobControl

// The COMPRESS tab: photo folder, quality and workers, scan figures with the
// sizes before and after, and the progress of the compression, on the shared
// job screen. A real quality change discards the scan (CompressModel).
JobScreen {
    id: view

    settingsTitle: "PENGATURAN COMPRESS"
    folderTitle: "FOLDER FOTO"
    folderIcon: "photo.stack.fill"
    progressTitle: "PROGRESS COMPRESS"
    startText: "MULAI COMPRESS"

    model: CompressModel {
        id: m
    }

    pickers: [
        LabeledPicker {
            objectName: "qualityPicker"
            caption: "KUALITAS"
            options: [25, 50, 75, 100].map(q => ({
                            "text": q + "%",
                            "value": q
                        }))
            value: m.quality
            // A quality change resets the scan: not while it is in use.
            pickerEnabled: !m.isBusy
            disabledHint: view.busyHint
            onActivated: value => m.quality = value
        },
        LabeledPicker {
            objectName: "workersPicker"
            caption: "WORKERS"
            options: PickerOptions.numbers([2, 4, 6, 8])
            value: m.workers
            onActivated: value => m.workers = value
        }
    ]

    figures: [
        StatBox {
            objectName: "totalBox"
            value: String(m.total)
            title: "FOTO"
        },
        StatBox {
            objectName: "ignoredBox"
            value: String(m.ignored)
            title: "IGNORE"
        },
        StatBox {
            objectName: "beforeBox"
            value: m.beforeText
            title: "AWAL"
        },
        StatBox {
            objectName: "afterBox"
            value: m.afterText
            title: "HASIL"
        }
    ]
}
