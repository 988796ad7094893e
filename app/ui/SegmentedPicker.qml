// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick

// A segmented picker in the dark look with a purple tint. `options` lists
// { text, value } pairs; the segment whose value equals `value` is shown
// selected. Choosing a segment emits `activated` with its value; the owner
// stores it, so `value` can stay bound to a model. The picker is one stop of
// the keyboard's Tab chain: the arrow keys, Home and End choose among its
// segments, and a ring shows its focus. Picker and segments are plain items
// rather than controls, so that the screen-reader roles set here hold (a
// control replaces them with its own once accessibility becomes active).
Item {
    id: picker

    property var options: []
    property var value
    /// "small" or "mini", the platform's control sizes.
    property string controlSize: "small"
    /// How screen readers name each segment: Accessible.RadioButton for a
    /// choice among values, Accessible.PageTab for tabs.
    property int segmentRole: Accessible.RadioButton
    signal activated(var value)

    readonly property int textSize: controlSize === "mini" ? Theme.miniControlTextSize
                                                           : Theme.smallControlTextSize
    readonly property real cornerRadius: controlSize === "mini" ? 4 : 5
    readonly property real segmentWidth: options.length > 0 ? width / options.length : 0
    readonly property int selectedIndex: options.findIndex(option => option.value === value)

    /// Chooses the segment `index`, when there is one and it is not chosen.
    function choose(index) {
        if (index >= 0 && index < options.length && index !== selectedIndex)
            activated(options[index].value);
    }

    implicitHeight: controlSize === "mini" ? Theme.miniControlHeight : Theme.smallControlHeight
    implicitWidth: options.length * (textSize * 4)
    // Only Tab and Backtab focus it (a click chooses a segment and leaves
    // the focus where it is), so the ring shows keyboard focus alone.
    activeFocusOnTab: true
    opacity: enabled ? 1 : 0.45

    Accessible.role: Accessible.Grouping
    Accessible.description: selectedIndex >= 0 ? options[selectedIndex].text : ""
    Keys.onLeftPressed: choose(selectedIndex - 1)
    Keys.onRightPressed: choose(selectedIndex + 1)
    Keys.onPressed: event => {
        if (event.key === Qt.Key_Home)
            choose(0);
        else if (event.key === Qt.Key_End)
            choose(options.length - 1);
        else
            return;
        event.accepted = true;
    }

    Rectangle {
        anchors.fill: parent
        radius: picker.cornerRadius
        color: Theme.controlTrack
    }

    Row {
        anchors.fill: parent

        Repeater {
            model: picker.options

            Rectangle {
                id: segment

                required property var modelData
                required property int index
                readonly property string text: modelData.text
                readonly property bool selected: modelData.value === picker.value

                objectName: "segment" + text
                width: picker.segmentWidth
                height: picker.height
                radius: picker.cornerRadius
                color: selected ? Theme.purple : (tap.pressed ? Theme.white(0.08) : "transparent")

                Accessible.role: picker.segmentRole
                Accessible.name: text
                Accessible.checkable: true
                Accessible.checked: selected
                Accessible.onPressAction: picker.activated(modelData.value)

                TapHandler {
                    id: tap

                    onTapped: picker.activated(segment.modelData.value)
                }

                Rectangle {
                    visible: segment.index > 0 && !segment.selected
                             && picker.options[segment.index - 1].value !== picker.value
                    width: 1
                    height: parent.height * 0.55
                    anchors.verticalCenter: parent.verticalCenter
                    color: Theme.white(0.15)
                }

                ElidedText {
                    anchors.fill: parent
                    text: segment.text
                    font.pixelSize: picker.textSize
                    font.weight: segment.selected ? Font.DemiBold : Font.Normal
                    color: segment.selected ? "white" : Theme.white(0.85)
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                }
            }
        }
    }

    FocusRing {
        shown: picker.activeFocus
        controlRadius: picker.cornerRadius
    }
}
