// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import Velmora.JobControl

// The COMPRESS tab: photo folder, quality and workers, scan figures with the
// sizes before and after, and the progress of the compression, on the shared
// job screen. A real quality change discards the scan (CompressModel).
JobScreen {
    id: view

    tabName: "COMPRESS"
    settingsTitle: qsTr("PENGATURAN COMPRESS")
    folderTitle: qsTr("FOLDER FOTO")
    folderIcon: "photo.stack.fill"
    progressTitle: qsTr("PROGRESS COMPRESS")
    startText: qsTr("MULAI COMPRESS")

    model: CompressModel {
        id: m
    }

    pickers: [
        LabeledPicker {
            objectName: "qualityPicker"
            caption: qsTr("KUALITAS")
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
            caption: qsTr("WORKERS")
            options: PickerOptions.numbers([2, 4, 6, 8])
            value: m.workers
            // A run keeps the workers it started with.
            pickerEnabled: !m.isBusy
            disabledHint: view.busyHint
            onActivated: value => m.workers = value
        }
    ]

    figures: [
        StatBox {
            objectName: "totalBox"
            value: String(m.total)
            //: The photos the scan found.
            title: qsTr("FOTO")
        },
        StatBox {
            objectName: "ignoredBox"
            value: String(m.ignored)
            //: The files the scan left out.
            title: qsTr("IGNORE")
        },
        StatBox {
            objectName: "beforeBox"
            value: m.beforeText
            //: The size of the photos found, before compression.
            title: qsTr("AWAL")
        },
        StatBox {
            objectName: "afterBox"
            value: m.afterText
            //: The size of the compressed photos written so far.
            title: qsTr("HASIL")
        }
    ]
}
