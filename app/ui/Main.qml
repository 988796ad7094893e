// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls.Fusion

// The application's one window: fixed at 420 x 580, dark, showing the main view.
// Its title is "Velmora", and while a run goes (paused too, and on either
// tab) the run's percent before it: "37% · Velmora".
// Closing it while a scan or a run is busy asks first: the job goes on
// without the window, and the user may not know it.
ApplicationWindow {
    id: window

    /// Set once the user has agreed to quit while a job is busy.
    property bool quitAgreed: false

    width: 420
    height: 580
    minimumWidth: 420
    maximumWidth: 420
    minimumHeight: 580
    maximumHeight: 580
    visible: true
    // The same in every language.
    title: (mainView.runningModel !== null ? mainView.runningModel.percent + "% · " : "") + "Velmora"
    color: Theme.rootBackground
    palette.window: Theme.rootBackground
    palette.windowText: "white"
    palette.text: "white"
    palette.base: Theme.mainBackground
    palette.alternateBase: Theme.rootBackground
    palette.button: Qt.rgba(0.25, 0.25, 0.27, 1)
    palette.buttonText: "white"
    palette.brightText: "white"
    palette.highlight: Theme.purple
    palette.highlightedText: "white"
    palette.placeholderText: Theme.white(0.4)
    palette.light: Qt.rgba(0.32, 0.32, 0.35, 1)
    palette.midlight: Qt.rgba(0.28, 0.28, 0.3, 1)
    palette.mid: Qt.rgba(0.2, 0.2, 0.22, 1)
    palette.dark: Qt.rgba(0.08, 0.08, 0.09, 1)
    palette.shadow: "black"
    palette.toolTipBase: Theme.dialogBackground
    palette.toolTipText: "white"

    onClosing: close => {
        if (mainView.jobBusy && !quitAgreed) {
            close.accepted = false;
            quitQuestion.open();
        }
    }

    MainAppView {
        id: mainView

        objectName: "mainView"
        anchors.fill: parent
    }

    VelmoraDialog {
        id: quitQuestion

        objectName: "quitQuestion"
        title: "Velmora"
        message: qsTr("Proses masih berjalan dan akan terus berjalan tanpa jendela ini. Tetap keluar?")
        buttons: [
            PurpleButtonStyle {
                objectName: "quitCancelButton"
                focus: true
                filled: false
                text: qsTr("BATAL")
                font.pixelSize: 11
                onClicked: quitQuestion.reject()
            },
            PurpleButtonStyle {
                objectName: "quitConfirmButton"
                text: qsTr("KELUAR")
                font.pixelSize: 11
                onClicked: {
                    window.quitAgreed = true;
                    quitQuestion.accept();
                    window.close();
                }
            }
        ]
    }
}
