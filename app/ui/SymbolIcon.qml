// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Shapes

// A small vector icon drawn from a built-in set, named like the platform's
// symbol icons: "photo.stack.fill", "folder.fill", "magnifyingglass",
// "play.fill", "pause.fill" and "stop.fill". Drawn in a 16-unit box scaled
// to `size`.
Item {
    id: icon

    property string name
    property color color: "white"
    property real size: 9

    readonly property var shapes: ({
            "photo.stack.fill": {
                "fill": "M1 5 H12 V15 H1 Z M2.5 13.5 L5 10 L7 12 L8.5 10.5 L10.5 13.5 Z "
                        + "M9.2 7.3 A1.2 1.2 0 1 0 9.21 7.3 Z",
                "stroke": "M3.5 2.6 H14.4 V12"
            },
            "folder.fill": {
                "fill": "M1 4 Q1 2.5 2.5 2.5 H6 L7.5 4 H13.5 Q15 4 15 5.5 V12.5 "
                        + "Q15 14 13.5 14 H2.5 Q1 14 1 12.5 Z"
            },
            "magnifyingglass": {
                "stroke": "M11.5 6.8 A4.7 4.7 0 1 0 11.49 6.9 Z M10.2 10.2 L14.5 14.5"
            },
            "play.fill": {
                "fill": "M3.5 1.8 L14 8 L3.5 14.2 Z"
            },
            "pause.fill": {
                "fill": "M3 2 H6.6 V14 H3 Z M9.4 2 H13 V14 H9.4 Z"
            }
        })

    readonly property var shape: shapes[name] || {}

    implicitWidth: size
    implicitHeight: size

    // A plain rounded square needs no path: drawn as a rectangle.
    Rectangle {
        visible: icon.name === "stop.fill"
        x: icon.size * 3 / 16
        y: icon.size * 3 / 16
        width: icon.size * 10 / 16
        height: icon.size * 10 / 16
        radius: icon.size / 16
        color: icon.color
    }

    // Drawn in the 16-unit box, then scaled; multisampling smooths the edges
    // of these few-pixel shapes.
    //
    // The shape exists only while the icon is in a window. Qt 6.4's shape
    // renderer keeps a pointer to its scene graph node after the node went
    // with the window's scene, so a shape taken out of the window (a screen
    // set aside during a job, a closed popup) and brought back could write its
    // paths into a stale, empty node and crash. A shape made for each stay in
    // a window starts with a renderer and node of its own.
    Loader {
        active: icon.Window.window !== null && icon.name !== "stop.fill"
        sourceComponent: shape
    }

    Component {
        id: shape

        Shape {
            width: 16
            height: 16
            scale: icon.size / 16
            transformOrigin: Item.TopLeft
            layer.enabled: true
            layer.samples: 4
            layer.smooth: true

            ShapePath {
                strokeWidth: -1
                fillColor: icon.color
                fillRule: ShapePath.OddEvenFill

                PathSvg {
                    path: icon.shape.fill || ""
                }
            }

            ShapePath {
                strokeWidth: 1.8
                strokeColor: icon.color
                fillColor: "transparent"
                capStyle: ShapePath.RoundCap
                joinStyle: ShapePath.RoundJoin

                PathSvg {
                    path: icon.shape.stroke || ""
                }
            }
        }
    }
}
