import QtQuick.Layouts

// The one action button under a progress panel: PAUSE or RESUME while a scan
// or a run is busy, otherwise the start button, enabled once a scan is ready.
ColumnLayout {
    id: buttons

    property bool busy: false
    property bool paused: false
    property bool ready: false
    property string startText
    signal startClicked
    signal pauseClicked

    spacing: 0

    PurpleButtonStyle {
        objectName: "pauseButton"
        Layout.fillWidth: true
        visible: buttons.busy
        text: buttons.paused ? qsTr("RESUME") : qsTr("PAUSE")
        symbol: buttons.paused ? "play.fill" : "pause.fill"
        font.pixelSize: 8
        onClicked: buttons.pauseClicked()
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
