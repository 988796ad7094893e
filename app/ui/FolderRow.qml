// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls.Fusion
import QtQuick.Layouts

// A folder caption with a BROWSE button over the folder's path, which is kept
// on one line and shortened in the middle when it is too long (the whole path
// then shows while the pointer is on it). While BROWSE is disabled, pointing
// at it shows `disabledHint`.
Item {
    id: row

    property string title
    property string path
    property string icon
    property alias browseEnabled: browse.enabled
    /// Why BROWSE is disabled, shown while the pointer is on it.
    property string disabledHint
    signal action

    implicitWidth: column.implicitWidth + 16
    implicitHeight: column.implicitHeight + 16

    Rectangle {
        anchors.fill: parent
        radius: 6
        color: Theme.black(0.18)
    }

    ColumnLayout {
        id: column

        anchors.fill: parent
        anchors.margins: 8
        spacing: 4

        RowLayout {
            Layout.fillWidth: true
            spacing: 4

            SymbolIcon {
                name: row.icon
                size: 9
                color: Theme.purple
            }

            Text {
                text: row.title
                font.pixelSize: 8
                font.weight: Font.Bold
                color: Theme.white(0.55)
            }

            Item {
                Layout.fillWidth: true
                Layout.minimumWidth: 1
            }

            // A disabled button gets no hover of its own: its holder, which
            // stays enabled, watches the pointer for it.
            Item {
                implicitWidth: browse.implicitWidth
                implicitHeight: browse.implicitHeight

                PurpleButtonStyle {
                    id: browse

                    objectName: "browseButton"
                    anchors.fill: parent
                    text: qsTr("BROWSE")
                    Accessible.description: enabled ? "" : row.disabledHint
                    onClicked: row.action()
                    ToolTip.visible: browseHover.hovered && !enabled && row.disabledHint !== ""
                    ToolTip.text: row.disabledHint
                    ToolTip.delay: 300
                }

                HoverHandler {
                    id: browseHover
                }
            }
        }

        ElidedText {
            objectName: "pathText"
            Layout.fillWidth: true
            text: row.path
            font.pixelSize: 9
            color: "white"
            elide: Text.ElideMiddle
        }
    }
}
