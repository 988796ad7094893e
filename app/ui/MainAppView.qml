// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import QtQuick.Layouts

// The main view: header, tab selector, divider and the selected tab's screen.
// Leaving a tab destroys its screen together with its model, unless the
// model's scan or run is busy: then the screen is set aside, out of the
// window, and its job goes on watched. Coming back shows that same screen,
// as the job stands (paused, running, or ended with its alert waiting);
// otherwise the tab's screen is built afresh.
Rectangle {
    id: view

    property string tab: "SORTER"
    /// True while the scan or run of the shown screen or of a screen set aside is busy.
    readonly property bool jobBusy: (content.item !== null && content.item.model.isBusy)
                                    || (keptSorter !== null && keptSorter.model.isBusy)
                                    || (keptCompress !== null && keptCompress.model.isBusy)
    /// The model whose run is going: the shown screen's, else that of a
    /// screen set aside; null while none runs.
    readonly property QtObject runningModel: [content.item, keptSorter, keptCompress].map(
                                                 shown => shown === null ? null : shown.model).find(
                                                 model => model !== null && model.isRunning) || null
    /// The SORTER and COMPRESS screens set aside with a busy job, or null.
    property Item keptSorter: null
    property Item keptCompress: null

    implicitWidth: 420
    implicitHeight: 580
    color: Theme.mainBackground

    /// Shows the screen of `name`: the one set aside for it, else a new one.
    /// The screen shown before is set aside while its job is busy, else destroyed.
    function showTab(name) {
        const leaving = content.item;
        if (leaving !== null && leaving.tabName === name)
            return;
        if (leaving !== null) {
            if (leaving.model.isBusy) {
                leaving.parent = null;
                if (leaving.tabName === "SORTER")
                    keptSorter = leaving;
                else
                    keptCompress = leaving;
            } else {
                leaving.destroy();
            }
        }
        let shown = name === "SORTER" ? keptSorter : keptCompress;
        if (shown !== null) {
            if (name === "SORTER")
                keptSorter = null;
            else
                keptCompress = null;
            shown.parent = content;
        } else {
            shown = (name === "SORTER" ? sorterScreen : compressScreen).createObject(content);
        }
        content.item = shown;
        tab = name;
    }

    Component.onCompleted: showTab(tab)

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
            onActivated: value => view.showTab(value)
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

        // Holds the shown screen, which fills it.
        Item {
            id: content

            /// The shown screen.
            property Item item: null

            objectName: "tabContent"
            Layout.fillWidth: true
            Layout.fillHeight: true
        }
    }

    Component {
        id: sorterScreen

        SorterView {
            anchors.fill: parent
        }
    }

    Component {
        id: compressScreen

        CompressView {
            anchors.fill: parent
        }
    }
}
