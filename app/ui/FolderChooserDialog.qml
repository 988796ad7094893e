// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Controls.Fusion
import QtQuick.Layouts
import Velmora

// The window's own folder chooser, where the desktop offers none: the folder
// shown, in a location field over the list of its subfolders. BUKA chooses
// the folder shown, or the subfolder the user has clicked or moved onto in
// the list; nothing in the list is taken on its own. A folder path typed
// into the location field and Return choose that folder at once, and a path
// that names no folder is told under the field. A double click or Return on
// a subfolder goes into it, NAIK to the folder that holds the one shown.
// Ctrl+L puts the keyboard in the location field, as in a file manager.
VelmoraDialog {
    id: chooser

    /// The folder shown.
    property url folder
    /// What the location field could not take, shown under it.
    property string locationError
    /// The name of the subfolder the user clicked or moved onto; empty for
    /// none.
    property string pickedName
    /// The names of the subfolders of the folder shown, read when it is
    /// shown.
    property var names: []

    /// The user chose `folder`.
    signal folderChosen(url folder)

    /// Opens the chooser in `start`.
    function openIn(start) {
        show(start);
        focusLocation();
        open();
    }

    /// Puts the keyboard in the location field, over what it holds.
    function focusLocation() {
        location.forceActiveFocus();
        location.selectAll();
    }

    /// Shows `shown` with nothing in its list taken yet.
    function show(shown) {
        folder = shown;
        names = FolderPaths.subfolderNames(shown);
        pickedName = "";
        locationError = "";
        location.text = FolderPaths.pathOf(shown);
    }

    /// Goes into the subfolder `name` of the folder shown.
    function goInto(name) {
        show(FolderPaths.subfolder(folder, name));
    }

    /// Picks the subfolder in row `row` of the list.
    function pick(row) {
        if (row < 0 || row >= names.length)
            return;
        pickedName = names[row];
        subfolders.positionViewAtIndex(row, ListView.Contain);
    }

    /// The row of the subfolder picked; -1 for none.
    function pickedRow() {
        return names.indexOf(pickedName);
    }

    /// The folder that BUKA would choose.
    function pickedFolder() {
        return pickedName !== "" ? FolderPaths.subfolder(folder, pickedName) : folder;
    }

    function choose(picked) {
        accept();
        folderChosen(picked);
    }

    function chooseTyped() {
        const typed = FolderPaths.typedFolder(location.text, folder);
        if (typed.toString() === "") {
            //: Under the folder chooser's location field; %1 is what the user typed.
            locationError = qsTr("Bukan folder: %1").arg(location.text.trim());
            return;
        }
        choose(typed);
    }

    width: Math.min(380, parent ? parent.width - 24 : 380)
    message: ""

    Shortcut {
        sequence: "Ctrl+L"
        enabled: chooser.opened
        onActivated: chooser.focusLocation()
    }

    RowLayout {
        Layout.fillWidth: true
        spacing: 6

        Text {
            //: Caption of the folder chooser's field for a typed folder path.
            text: qsTr("LOKASI")
            font.pixelSize: 8
            font.weight: Font.Bold
            color: Theme.white(0.55)
        }

        TextField {
            id: location

            objectName: "chooserLocation"
            Layout.fillWidth: true
            font.pixelSize: 11
            color: "white"
            selectByMouse: true
            background: Rectangle {
                radius: 5
                color: Theme.black(0.25)
                border.color: location.activeFocus ? Theme.focusRing : Theme.white(0.15)
            }
            onTextEdited: chooser.locationError = ""
            onAccepted: chooser.chooseTyped()
        }

        PurpleButtonStyle {
            objectName: "chooserUpButton"
            filled: false
            //: Goes from the folder shown to the folder that holds it.
            text: qsTr("NAIK")
            font.pixelSize: 9
            topPadding: 6
            bottomPadding: 6
            enabled: FolderPaths.parentFolder(chooser.folder) !== chooser.folder
            onClicked: chooser.show(FolderPaths.parentFolder(chooser.folder))
        }
    }

    Text {
        objectName: "chooserError"
        Layout.fillWidth: true
        visible: chooser.locationError !== ""
        text: chooser.locationError
        wrapMode: Text.Wrap
        font.pixelSize: 10
        color: Theme.orange
    }

    Rectangle {
        Layout.fillWidth: true
        Layout.preferredHeight: 260
        radius: 6
        color: Theme.black(0.2)
        border.color: subfolders.activeFocus ? Theme.focusRing : Theme.white(0.08)

        ListView {
            id: subfolders

            objectName: "chooserList"
            anchors.fill: parent
            anchors.margins: 4
            clip: true
            activeFocusOnTab: true
            keyNavigationEnabled: false
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar {}

            model: chooser.names

            /// Goes into the subfolder moved onto, if any.
            function enterPicked() {
                if (chooser.pickedName !== "")
                    chooser.goInto(chooser.pickedName);
            }

            Keys.onReturnPressed: enterPicked()
            Keys.onEnterPressed: enterPicked()
            Keys.onDownPressed: chooser.pick(chooser.pickedRow() + 1)
            Keys.onUpPressed: chooser.pick(Math.max(0, chooser.pickedRow() - 1))

            delegate: Rectangle {
                id: entry

                required property int index
                required property string modelData
                readonly property string fileName: modelData

                objectName: "chooserEntry_" + fileName
                width: ListView.view.width
                height: 24
                radius: 4
                color: fileName === chooser.pickedName ? Theme.withOpacity(Theme.purple, 0.35)
                                                       : "transparent"

                // A folder drawn with plain rectangles: shapes in a popup
                // opened a second time can crash Qt 6.4's scene graph.
                Rectangle {
                    x: 8
                    y: 7
                    width: 5
                    height: 3
                    radius: 1
                    color: Theme.purple
                }

                Rectangle {
                    x: 8
                    y: 9
                    width: 12
                    height: 8
                    radius: 1.5
                    color: Theme.purple
                }

                Text {
                    anchors.left: parent.left
                    anchors.leftMargin: 28
                    anchors.right: parent.right
                    anchors.rightMargin: 6
                    anchors.verticalCenter: parent.verticalCenter
                    text: entry.fileName
                    elide: Text.ElideMiddle
                    font.pixelSize: 11
                    color: "white"
                }

                MouseArea {
                    anchors.fill: parent
                    onClicked: {
                        chooser.pick(entry.index);
                        subfolders.forceActiveFocus();
                    }
                    onDoubleClicked: chooser.goInto(entry.fileName)
                }
            }
        }

        Text {
            anchors.centerIn: parent
            visible: chooser.names.length === 0
            //: In the folder chooser's list when the folder shown holds no folder.
            text: qsTr("Tidak ada subfolder.")
            font.pixelSize: 10
            color: Theme.white(0.45)
        }
    }

    buttons: [
        PurpleButtonStyle {
            objectName: "chooserCancelButton"
            filled: false
            text: qsTr("BATAL")
            font.pixelSize: 11
            onClicked: chooser.reject()
        },
        PurpleButtonStyle {
            objectName: "chooserOpenButton"
            //: Chooses the folder shown, or the subfolder picked in the list.
            text: qsTr("BUKA")
            font.pixelSize: 11
            onClicked: chooser.choose(chooser.pickedFolder())
        }
    ]
}
