import QtQuick
import QtQuick.Layouts

// The main view: header, tab selector, divider and the selected tab's screen.
// Only the shown screen exists; switching tabs destroys it together with its
// model and builds the other screen afresh.
Rectangle {
    id: view

    property string tab: "SORTER"
    /// True while the shown screen's scan or run is busy.
    readonly property bool jobBusy: content.item !== null && content.item.model.isBusy

    implicitWidth: 420
    implicitHeight: 580
    color: Theme.mainBackground

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        AppHeader {
            Layout.fillWidth: true
            Layout.leftMargin: 14
            Layout.rightMargin: 14
            Layout.topMargin: 12
            Layout.bottomMargin: 10
        }

        SegmentedPicker {
            objectName: "tabPicker"
            Layout.fillWidth: true
            Layout.leftMargin: 12
            Layout.rightMargin: 12
            Layout.bottomMargin: 10
            Accessible.role: Accessible.PageTabList
            //: What a screen reader calls the row of the SORTER and COMPRESS tabs.
            Accessible.name: qsTr("Tab")
            segmentRole: Accessible.PageTab
            // The names of the two jobs, the same in every language.
            options: [{
                    "text": "SORTER",
                    "value": "SORTER"
                }, {
                    "text": "COMPRESS",
                    "value": "COMPRESS"
                }]
            value: view.tab
            onActivated: value => view.tab = value
        }

        Rectangle {
            Layout.fillWidth: true
            implicitHeight: 1
            color: Theme.white(0.1)

            Rectangle {
                anchors.fill: parent
                color: Theme.white(0.1)
            }
        }

        Loader {
            id: content

            objectName: "tabContent"
            Layout.fillWidth: true
            Layout.fillHeight: true
            sourceComponent: view.tab === "SORTER" ? sorterScreen : compressScreen
        }
    }

    Component {
        id: sorterScreen

        SorterView {}
    }

    Component {
        id: compressScreen

        CompressView {}
    }
}
