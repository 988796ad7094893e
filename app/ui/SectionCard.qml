// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Layouts

// A titled card: the title over the card's content, on a faint rounded plate
// with a thin outline. Children are laid out top to bottom, left aligned.
Item {
    id: card

    property string title
    default property alias content: body.data

    implicitWidth: column.implicitWidth + 2 * padding
    implicitHeight: column.implicitHeight + 2 * padding
    readonly property int padding: 9

    Rectangle {
        anchors.fill: parent
        radius: 7
        color: Theme.white(0.045)
        border.color: Theme.white(0.08)
        border.width: 1
    }

    ColumnLayout {
        id: column

        anchors.fill: parent
        anchors.margins: card.padding
        spacing: 5

        Text {
            objectName: "cardTitle"
            text: card.title
            font.pixelSize: 8
            font.weight: Font.Bold
            color: Theme.white(0.85)
        }

        ColumnLayout {
            id: body

            Layout.fillWidth: true
            spacing: 5
        }
    }
}
