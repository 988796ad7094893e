// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls.Fusion

// A text kept on one line and shortened with an ellipsis when it does not
// fit; while it is shortened, the pointer over it shows the whole text.
Text {
    id: label

    /// The text the tooltip shows: the whole text while it is shortened.
    readonly property string toolTipText: truncated ? text : ""

    maximumLineCount: 1
    wrapMode: Text.NoWrap
    elide: Text.ElideRight
    Accessible.name: text

    HoverHandler {
        id: hover
    }

    ToolTip.visible: hover.hovered && label.toolTipText !== ""
    ToolTip.text: label.toolTipText
    ToolTip.delay: 400
}
