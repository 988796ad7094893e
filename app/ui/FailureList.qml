// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls.Fusion

// The photos a run failed on, one a row: the path over the reason, in a dark
// frame that scrolls. With the keyboard focus, Up and Down move through the
// rows. Photos past the list (`unlisted`) are counted under it.
Rectangle {
    id: frame

    /// Each a map of "path" and "reason".
    property var failures: []
    property int unlisted: 0

    implicitHeight: rows.contentHeight + 8
    radius: 6
    color: Theme.black(0.25)

    ListView {
        id: rows

        objectName: "failureRows"
        anchors.fill: parent
        anchors.margins: 4
        clip: true
        model: frame.failures
        activeFocusOnTab: true
        keyNavigationEnabled: true
        boundsBehavior: Flickable.StopAtBounds
        highlightMoveDuration: 0
        Accessible.role: Accessible.List
        Accessible.name: qsTr("Foto yang gagal")

        ScrollBar.vertical: ScrollBar {
            id: scrollBar

            objectName: "failureScrollBar"
            // Shown whenever the list is longer than its frame, not only while
            // it moves: a long list must look like one.
            policy: rows.contentHeight > rows.height ? ScrollBar.AlwaysOn : ScrollBar.AsNeeded
        }

        highlight: Rectangle {
            radius: 4
            color: Theme.white(0.08)
            visible: rows.activeFocus
        }

        delegate: Column {
            required property var modelData

            width: ListView.view.width - scrollBar.width
            padding: 4
            spacing: 1
            Accessible.role: Accessible.ListItem
            Accessible.name: modelData.path + ": " + modelData.reason

            Text {
                width: parent.width - 8
                // A zero-width space after each separator lets a long path
                // break between its folders rather than inside a name.
                text: modelData.path.replace(/\//g, "/\u200B")
                wrapMode: Text.WrapAtWordBoundaryOrAnywhere
                font.pixelSize: 9
                color: "white"
            }

            Text {
                width: parent.width - 8
                visible: text !== ""
                text: modelData.reason
                wrapMode: Text.Wrap
                font.pixelSize: 9
                color: Theme.orange
            }
        }

        footer: frame.unlisted > 0 ? unlistedCount : null
    }

    Component {
        id: unlistedCount

        Text {
            width: ListView.view.width
            padding: 4
            text: qsTr("… dan %n foto lainnya", "", frame.unlisted)
            wrapMode: Text.Wrap
            font.pixelSize: 9
            color: Theme.white(0.6)
        }
    }

    FocusRing {
        shown: rows.activeFocus
        controlRadius: 6
    }
}
