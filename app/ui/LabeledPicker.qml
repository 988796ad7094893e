import QtQuick
import QtQuick.Layouts

// A small caption over a segmented picker, as used for every setting; it takes
// the width its layout offers.
ColumnLayout {
    id: labeled

    property string caption
    property int captionSize: 8
    property alias options: picker.options
    property alias value: picker.value
    property alias controlSize: picker.controlSize
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

        Layout.fillWidth: true
        onActivated: value => labeled.activated(value)
    }
}
