// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls.Fusion
import QtQuick.Layouts

// A small caption over a segmented picker, as used for every setting; it takes
// the width its layout offers. The caption names the picker for screen
// readers. While the picker is disabled, pointing at it shows `disabledHint`.
ColumnLayout {
    id: labeled

    property string caption
    property int captionSize: 8
    property alias options: picker.options
    property alias value: picker.value
    property alias controlSize: picker.controlSize
    property alias pickerEnabled: picker.enabled
    /// Why the picker is disabled, shown while the pointer is on it.
    property string disabledHint
    /// The picker itself, for the owner's handlers and for tests.
    readonly property alias picker: picker
    signal activated(var value)

    Layout.fillWidth: true
    spacing: 2

    Text {
        text: labeled.caption
        font.pixelSize: labeled.captionSize
        font.weight: Font.Bold
        color: Theme.white(0.5)
    }

    SegmentedPicker {
        id: picker

        objectName: "picker"
        Layout.fillWidth: true
        Accessible.name: labeled.caption
        onActivated: value => labeled.activated(value)

        // A disabled picker gets no hover of its own; the column, which
        // stays enabled, watches the pointer for it.
        ToolTip.visible: hint.hovered && !enabled && labeled.disabledHint !== ""
        ToolTip.text: labeled.disabledHint
        ToolTip.delay: 300
    }

    HoverHandler {
        id: hint
    }
}
