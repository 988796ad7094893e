// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Layouts
import QtQuick.Shapes

// The window's header: the gradient badge, "VELMORA PRO" and the subtitle.
RowLayout {
    spacing: 5

    Item {
        objectName: "badge"
        implicitWidth: 27
        implicitHeight: 27

        Shape {
            anchors.fill: parent
            layer.enabled: true
            layer.samples: 4

            ShapePath {
                strokeWidth: -1
                fillGradient: LinearGradient {
                    x1: 0
                    y1: 0
                    x2: 27
                    y2: 27

                    GradientStop {
                        position: 0
                        color: Theme.purple
                    }

                    GradientStop {
                        position: 1
                        color: Theme.blue
                    }
                }

                PathAngleArc {
                    centerX: 13.5
                    centerY: 13.5
                    radiusX: 13.5
                    radiusY: 13.5
                    sweepAngle: 360
                }
            }
        }

        SymbolIcon {
            anchors.centerIn: parent
            name: "photo.stack.fill"
            size: 8
            color: "white"
        }
    }

    ColumnLayout {
        spacing: 1

        Row {
            spacing: 1

            Text {
                text: "VELMORA"
                font.pixelSize: 8
                font.weight: Font.Bold
                color: Theme.primaryText
            }

            Text {
                text: "PRO"
                font.pixelSize: 8
                font.weight: Font.Bold
                color: Theme.purple
            }
        }

        Text {
            //: The subtitle under the program's name.
            text: qsTr("Photo Workflow Utility")
            font.pixelSize: 9
            color: Theme.white(0.5)
        }
    }

    Item {
        Layout.fillWidth: true
        Layout.minimumWidth: 2
    }
}
