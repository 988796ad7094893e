import QtQuick
import QtQuick.Templates as T

// A segmented picker in the dark look with a purple tint. `options` lists
// { text, value } pairs; the segment whose value equals `value` is shown
// selected. Choosing a segment emits `activated` with its value; the owner
// stores it, so `value` can stay bound to a model.
Item {
    id: picker

    property var options: []
    property var value
    /// "small" or "mini", the platform's control sizes.
    property string controlSize: "small"
    signal activated(var value)

    readonly property int textSize: controlSize === "mini" ? Theme.miniControlTextSize
                                                           : Theme.smallControlTextSize
    readonly property real segmentWidth: options.length > 0 ? width / options.length : 0

    implicitHeight: controlSize === "mini" ? Theme.miniControlHeight : Theme.smallControlHeight
    implicitWidth: options.length * (textSize * 4)

    Rectangle {
        anchors.fill: parent
        radius: picker.controlSize === "mini" ? 4 : 5
        color: Theme.controlTrack
    }

    Row {
        anchors.fill: parent

        Repeater {
            model: picker.options

            T.AbstractButton {
                id: segment

                required property var modelData
                required property int index
                readonly property bool selected: modelData.value === picker.value

                objectName: "segment" + modelData.text
                width: picker.segmentWidth
                height: picker.height
                text: modelData.text
                onClicked: picker.activated(modelData.value)

                background: Rectangle {
                    radius: picker.controlSize === "mini" ? 4 : 5
                    color: segment.selected ? Theme.purple
                                            : (segment.down ? Theme.white(0.08) : "transparent")

                    Rectangle {
                        visible: segment.index > 0 && !segment.selected
                                 && picker.options[segment.index - 1].value !== picker.value
                        width: 1
                        height: parent.height * 0.55
                        anchors.verticalCenter: parent.verticalCenter
                        color: Theme.white(0.15)
                    }
                }

                contentItem: Text {
                    text: segment.text
                    font.pixelSize: picker.textSize
                    font.weight: segment.selected ? Font.DemiBold : Font.Normal
                    color: segment.selected ? "white" : Theme.white(0.85)
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                    elide: Text.ElideRight
                }
            }
        }
    }
}
