// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick

// One figure of the progress panel: a tiny caption over its value.
Column {
    property string caption
    property string value
    /// objectName given to the value text, so tests can find it.
    property string valueName

    spacing: 0

    Text {
        text: parent.caption
        font.pixelSize: 6
        color: Theme.white(0.4)
    }

    Text {
        objectName: parent.valueName
        text: parent.value
        font.pixelSize: 9
        color: "white"
    }
}
