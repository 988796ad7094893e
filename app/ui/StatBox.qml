// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Layouts

// One scan figure: the value over its title, centred on a dark rounded plate
// as wide as offered (in a layout, boxes side by side share the width
// equally). A value too wide for one line shrinks, down to 0.55 of its size,
// rather than wrapping; past that it is shortened, and shown whole while the
// pointer is on it.
Item {
    id: box

    property string value
    property string title

    Layout.fillWidth: true
    Layout.preferredWidth: 1
    implicitWidth: column.implicitWidth
    implicitHeight: column.implicitHeight + 16

    Accessible.role: Accessible.StaticText
    Accessible.name: title + ": " + value

    Rectangle {
        anchors.fill: parent
        radius: 6
        color: Theme.black(0.16)
    }

    ColumnLayout {
        id: column

        anchors.fill: parent
        anchors.topMargin: 8
        anchors.bottomMargin: 8
        spacing: 1

        ElidedText {
            objectName: "valueText"
            Layout.fillWidth: true
            text: box.value
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: 8
            font.weight: Font.Bold
            color: "white"
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: Math.ceil(font.pixelSize * 0.55)
        }

        ElidedText {
            objectName: "titleText"
            Layout.fillWidth: true
            text: box.title
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: 9
            font.weight: Font.Medium
            color: Theme.white(0.5)
        }
    }
}
