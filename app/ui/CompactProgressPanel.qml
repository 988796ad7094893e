// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Layouts
import QtQuick.Templates as T

// The progress of a run: a status dot, the title and the whole percentage (as
// the model computes it for the status line too) over a purple bar, then the
// FILE, SPEED and ETA figures, and a failure count when any file failed. The
// title wraps, so a long status is read in full.
Item {
    id: panel

    property string title
    property real progress: 0
    property int percent: 0
    property string speed
    property string eta
    property string count
    property int failed: 0
    /// True while the run is paused: it is not moving then.
    property bool paused: false
    /// False once the run has ended, also when stopped short of its end.
    property bool busy: true

    /// True while the run is moving: busy, not paused, strictly between 0 and 1.
    readonly property bool moving: busy && !paused && progress > 0 && progress < 1

    implicitWidth: column.implicitWidth + 16
    implicitHeight: column.implicitHeight + 16

    Rectangle {
        anchors.fill: parent
        radius: 6
        color: Theme.black(0.18)
    }

    ColumnLayout {
        id: column

        anchors.fill: parent
        anchors.margins: 8
        spacing: 4

        RowLayout {
            Layout.fillWidth: true
            spacing: 8

            Rectangle {
                objectName: "statusDot"
                // Level with the middle of the title's first line.
                Layout.alignment: Qt.AlignTop
                Layout.topMargin: Math.round((titleText.contentHeight / Math.max(1, titleText.lineCount)
                                              - height) / 2)
                implicitWidth: 5
                implicitHeight: 5
                radius: 2.5
                color: panel.moving ? Theme.green : Theme.gray
            }

            Text {
                id: titleText

                objectName: "titleText"
                Layout.fillWidth: true
                text: panel.title
                font.pixelSize: 10
                font.weight: Font.DemiBold
                color: "white"
                wrapMode: Text.Wrap
            }

            Text {
                objectName: "percentText"
                Layout.alignment: Qt.AlignTop
                text: panel.percent + "%"
                font.pixelSize: 9
                font.weight: Font.Bold
                color: Theme.purple
            }
        }

        T.ProgressBar {
            objectName: "progressBar"
            Layout.fillWidth: true
            from: 0
            to: 1
            value: panel.progress
            implicitHeight: 5
            Accessible.name: panel.percent + "%"

            background: Rectangle {
                radius: 2.5
                color: Theme.white(0.12)
            }

            contentItem: Item {
                Rectangle {
                    width: parent.width * Math.max(0, Math.min(1, panel.progress || 0))
                    height: parent.height
                    radius: 2.5
                    color: Theme.purple
                }
            }
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 0

            PanelFigure {
                //: Caption over the photos handled out of those found, e.g. 40/200.
                caption: qsTr("FILE")
                value: panel.count
                valueName: "countText"
            }

            Item {
                Layout.fillWidth: true
            }

            PanelFigure {
                caption: qsTr("SPEED")
                value: panel.speed
                valueName: "speedText"
            }

            Item {
                Layout.fillWidth: true
            }

            PanelFigure {
                //: Caption over the remaining time of the run.
                caption: qsTr("ETA")
                value: panel.eta
                valueName: "etaText"
            }
        }

        // Its line is kept while no photo has failed, so that nothing below
        // moves when the first one does.
        Item {
            Layout.fillWidth: true
            implicitHeight: failedText.implicitHeight

            Text {
                id: failedText

                objectName: "failedText"
                visible: panel.failed > 0
                //: The photos the run failed on.
                text: qsTr("%n gagal", "", panel.failed)
                font.pixelSize: 9
                color: Theme.orange
            }
        }
    }
}
