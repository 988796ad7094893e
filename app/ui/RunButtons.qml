// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick.Layouts

// The action buttons under a progress panel: PAUSE or RESUME with STOP beside
// it while a scan or a run is busy, otherwise the start button, enabled once
// a scan is ready. Once STOP is confirmed, both wait for the job's end.
ColumnLayout {
    id: buttons

    property bool busy: false
    property bool paused: false
    property bool stopping: false
    property bool ready: false
    property string startText
    signal startClicked
    signal pauseClicked
    signal stopClicked

    spacing: 0

    RowLayout {
        Layout.fillWidth: true
        visible: buttons.busy
        spacing: 6

        PurpleButtonStyle {
            objectName: "pauseButton"
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            visible: buttons.busy
            enabled: !buttons.stopping
            text: buttons.paused ? qsTr("RESUME") : qsTr("PAUSE")
            symbol: buttons.paused ? "play.fill" : "pause.fill"
            font.pixelSize: 8
            onClicked: buttons.pauseClicked()
        }

        PurpleButtonStyle {
            objectName: "stopButton"
            Layout.fillWidth: true
            Layout.preferredWidth: 1
            visible: buttons.busy
            enabled: !buttons.stopping
            filled: false
            //: Ends the busy scan or run, after a question.
            text: qsTr("STOP")
            symbol: "stop.fill"
            font.pixelSize: 8
            onClicked: buttons.stopClicked()
        }
    }

    PurpleButtonStyle {
        objectName: "startButton"
        Layout.fillWidth: true
        visible: !buttons.busy
        enabled: buttons.ready
        text: buttons.startText
        symbol: "play.fill"
        font.pixelSize: 8
        onClicked: buttons.startClicked()
    }
}
