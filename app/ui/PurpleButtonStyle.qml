// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Templates as T

// The purple button of the window: a rounded purple plate, lighter while held
// down, with a white label (or a purple label on a faint plate when not filled).
// The label is in the headline style unless the button is given a font.
// Space, Enter and Return press it when it has the keyboard focus, which a
// ring around it shows.
T.Button {
    id: control

    property bool filled: true
    /// Name of a SymbolIcon drawn before the text; empty for none.
    property string symbol: ""

    readonly property color labelColor: filled ? "white" : Theme.purple
    readonly property real plateOpacity: filled ? (down ? 0.7 : 0.95) : 0.12

    font.pixelSize: Theme.headlineSize
    font.weight: Font.Bold
    leftPadding: 12
    rightPadding: 12
    topPadding: 11
    bottomPadding: 11
    opacity: enabled ? 1 : 0.45

    implicitWidth: implicitContentWidth + leftPadding + rightPadding
    implicitHeight: implicitContentHeight + topPadding + bottomPadding

    Accessible.name: text
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()

    contentItem: Item {
        implicitWidth: children[0].implicitWidth
        implicitHeight: children[0].implicitHeight

        Row {
            anchors.centerIn: parent
            spacing: Math.round(control.font.pixelSize * 0.4)

            // Made only for a button with a symbol: a dialog's buttons have
            // none, and a shape in a popup opened a second time can crash
            // the scene graph of Qt 6.4.
            Loader {
                anchors.verticalCenter: parent.verticalCenter
                active: control.symbol !== ""
                visible: active

                sourceComponent: SymbolIcon {
                    name: control.symbol
                    size: control.font.pixelSize
                    color: control.labelColor
                }
            }

            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: control.text
                font: control.font
                color: control.labelColor
            }
        }
    }

    background: Rectangle {
        radius: 10
        color: Theme.withOpacity(Theme.purple, control.plateOpacity)

        FocusRing {
            shown: control.visualFocus
            controlRadius: 10
        }
    }
}
