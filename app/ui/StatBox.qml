import QtQuick
import QtQuick.Layouts

// One scan figure: the value over its title, centred on a dark rounded plate
// as wide as offered (in a layout, boxes side by side share the width
// equally). A value too wide for one line shrinks, down to 0.55 of its size,
// rather than wrapping.
Item {
    id: box

    property string value
    property string title

    Layout.fillWidth: true
    Layout.preferredWidth: 1
    implicitWidth: column.implicitWidth
    implicitHeight: column.implicitHeight + 16

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

        Text {
            objectName: "valueText"
            Layout.fillWidth: true
            text: box.value
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: 8
            font.weight: Font.Bold
            color: "white"
            wrapMode: Text.NoWrap
            maximumLineCount: 1
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: Math.ceil(font.pixelSize * 0.55)
            elide: Text.ElideRight
        }

        Text {
            objectName: "titleText"
            Layout.fillWidth: true
            text: box.title
            horizontalAlignment: Text.AlignHCenter
            font.pixelSize: 9
            font.weight: Font.Medium
            color: Theme.white(0.5)
            wrapMode: Text.NoWrap
            maximumLineCount: 1
        }
    }
}
