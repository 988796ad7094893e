// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T

// The window's dialog: a dark rounded panel in the middle of the window, over
// a dimmed window, with a centred title, a message, what the owner adds under
// the message, and a centred row of buttons. It is as tall as what it holds,
// and 300 wide unless its buttons need more.
// The owner's buttons take the keyboard (give the default one `focus: true`);
// Escape rejects the dialog. Its parts are named after the dialog's
// objectName: NAMETitle and NAMEMessage.
T.Dialog {
    id: dialog

    property string message
    /// The buttons of the footer row, left to right.
    property alias buttons: buttonRow.data
    /// What the dialog shows under the message.
    default property alias extraContent: body.data

    modal: true
    focus: true
    anchors.centerIn: T.Overlay.overlay
    // Wider only when its row of buttons needs it.
    width: Math.max(300, implicitFooterWidth)
    margins: 12
    padding: 16
    topPadding: 2
    bottomPadding: 4
    spacing: 0
    closePolicy: T.Popup.CloseOnEscape

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset,
                            contentWidth + leftPadding + rightPadding, implicitHeaderWidth,
                            implicitFooterWidth)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset,
                             contentHeight + topPadding + bottomPadding
                             + (implicitHeaderHeight > 0 ? implicitHeaderHeight + spacing : 0)
                             + (implicitFooterHeight > 0 ? implicitFooterHeight + spacing : 0))

    T.Overlay.modal: Rectangle {
        color: Theme.black(0.35)
    }

    background: Rectangle {
        radius: 10
        color: Theme.dialogBackground
        border.color: Theme.white(0.12)
        border.width: 1
    }

    header: Text {
        objectName: dialog.objectName + "Title"
        text: dialog.title
        topPadding: 16
        bottomPadding: 6
        leftPadding: 16
        rightPadding: 16
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
        font.pixelSize: 13
        font.weight: Font.Bold
        color: "white"
    }

    contentItem: ColumnLayout {
        id: body

        spacing: 10

        Text {
            objectName: dialog.objectName + "Message"
            Layout.fillWidth: true
            visible: dialog.message !== ""
            text: dialog.message
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            font.pixelSize: 11
            color: Theme.white(0.85)
        }
    }

    footer: Item {
        implicitWidth: buttonRow.implicitWidth + 32
        implicitHeight: buttonRow.implicitHeight + 28

        RowLayout {
            id: buttonRow

            anchors.centerIn: parent
            spacing: 8
        }
    }
}
