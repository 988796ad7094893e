// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Layouts

// The screens' alert: title "Velmora", a message and an OK button, which
// Enter, Return and Space press; Escape dismisses it too. It opens while
// `shown` is true; any dismissal emits `dismissed` so the owner can clear its
// flag. When the alert comes with failed photos, DETAIL shows them, each path
// with its reason, in a list that scrolls inside the alert. When it comes
// with the folder a run wrote into, OPEN FOLDER shows that folder in the
// file manager (through the desktop's portal or xdg-open) and dismisses it.
VelmoraDialog {
    id: alert

    property bool shown: false
    /// The failed photos, each a map of "path" and "reason".
    property var failures: []
    /// How many photos failed in all; those past the list are counted under it.
    property int failedCount: 0
    property bool detailsShown: false
    /// The folder to offer to open; an empty URL for none.
    property url folder
    signal dismissed
    /// COPY LIST was pressed: the owner puts the failed photos on the clipboard.
    signal copyRequested

    title: "Velmora"

    onShownChanged: shown ? open() : close()
    Component.onCompleted: {
        if (shown)
            open();
    }
    onClosed: {
        detailsShown = false;
        dismissed();
    }

    FailureList {
        objectName: "failureList"
        Layout.fillWidth: true
        Layout.preferredHeight: Math.min(implicitHeight, 190)
        visible: alert.detailsShown
        failures: alert.failures
        unlisted: alert.failedCount - alert.failures.length
    }

    buttons: [
        PurpleButtonStyle {
            objectName: "alertCopyButton"
            visible: alert.detailsShown
            filled: false
            //: Copies the list of the photos the run failed on.
            text: qsTr("SALIN")
            font.pixelSize: 11
            onClicked: alert.copyRequested()
        },
        PurpleButtonStyle {
            objectName: "alertDetailsButton"
            visible: alert.failures.length > 0
            filled: false
            //: Shows or hides the list of the photos the run failed on.
            text: alert.detailsShown ? qsTr("SEMBUNYIKAN") : qsTr("DETAIL")
            font.pixelSize: 11
            onClicked: alert.detailsShown = !alert.detailsShown
        },
        PurpleButtonStyle {
            objectName: "alertOpenButton"
            visible: alert.folder.toString() !== ""
            filled: false
            //: Shows the folder the run wrote into in the file manager.
            text: qsTr("BUKA FOLDER")
            font.pixelSize: 11
            onClicked: {
                Qt.openUrlExternally(alert.folder);
                alert.reject();
            }
        },
        PurpleButtonStyle {
            objectName: "alertOkButton"
            focus: true
            text: qsTr("OK")
            font.pixelSize: 11
            onClicked: alert.reject()
        }
    ]
}
