import QtQuick.Controls.Basic

// The application's one window: fixed at 420 x 580, dark, showing the main view.
ApplicationWindow {
    id: window

    width: 420
    height: 580
    minimumWidth: 420
    maximumWidth: 420
    minimumHeight: 580
    maximumHeight: 580
    visible: true
    color: Theme.rootBackground
    palette.window: Theme.rootBackground
    palette.windowText: "white"
    palette.text: "white"
    palette.base: Theme.mainBackground
    palette.button: Qt.rgba(0.25, 0.25, 0.27, 1)
    palette.buttonText: "white"
    palette.highlight: Theme.purple

    MainAppView {
        objectName: "mainView"
        anchors.fill: parent
    }
}
