import QtQuick
import QtQuick.Layouts

// A folder caption with a BROWSE button over the folder's path, which is kept
// on one line and shortened in the middle when it is too long.
Item {
    id: row

    property string title
    property string path
    property string icon
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

            PurpleButtonStyle {
                objectName: "browseButton"
                text: "BROWSE"
                onClicked: row.action()
            }
        }

        Text {
            objectName: "pathText"
            Layout.fillWidth: true
            text: row.path
            font.pixelSize: 9
            color: "white"
            elide: Text.ElideMiddle
            maximumLineCount: 1
            wrapMode: Text.NoWrap
        }
    }
}
