// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick

// The keyboard focus ring: a light outline just outside its parent control,
// drawn while `shown`: while its owner has the keyboard focus (a control's
// visualFocus, so that a mouse click shows none).
Rectangle {
    property bool shown: false
    /// The corner radius of the control it surrounds.
    property real controlRadius: 0

    objectName: "focusRing"
    anchors.fill: parent
    anchors.margins: -3
    radius: controlRadius + 3
    color: "transparent"
    border.color: Theme.focusRing
    border.width: 2
    visible: shown
}
