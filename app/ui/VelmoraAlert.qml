import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Templates as T

// The screens' alert: title "Velmora", a message and one OK button with the
// cancel role. It opens while `shown` is true; any dismissal emits `dismissed`
// so the owner can clear its flag.
T.Dialog {
    id: alert

    property bool shown: false
    property string message
    signal dismissed

    title: "Velmora"
    modal: true
    anchors.centerIn: T.Overlay.overlay
    width: 260
    padding: 16
    topPadding: 4
    closePolicy: T.Popup.CloseOnEscape

    onShownChanged: shown ? open() : close()
    Component.onCompleted: {
        if (shown)
            open();
    }
    onClosed: dismissed()

    T.Overlay.modal: Rectangle {
        color: Theme.black(0.35)
    }

    background: Rectangle {
        radius: 10
        color: Qt.rgba(0.17, 0.17, 0.19, 1)
        border.color: Theme.white(0.12)
        border.width: 1
    }

    header: Text {
        objectName: "alertTitle"
        text: alert.title
        topPadding: 16
        horizontalAlignment: Text.AlignHCenter
        font.pixelSize: 13
        font.weight: Font.Bold
        color: "white"
    }

    contentItem: Text {
        objectName: "alertMessage"
        text: alert.message
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
        font.pixelSize: 11
        color: Theme.white(0.85)
    }

    footer: DialogButtonBox {
        alignment: Qt.AlignHCenter
        padding: 12
        topPadding: 0
        background: null

        PurpleButtonStyle {
            objectName: "alertOkButton"
            text: "OK"
            DialogButtonBox.buttonRole: DialogButtonBox.RejectRole
        }
    }
}
