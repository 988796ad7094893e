// SPDX-License-Identifier: GPL-3.0-or-later
pragma Singleton
import QtQuick

// Colours and text sizes shared by every view of the window. Named colours
// follow the platform's dark-appearance palette; sizes are pixels at scale 1.
QtObject {
    readonly property color purple: "#bf5af2"
    readonly property color blue: "#0a84ff"
    readonly property color green: "#30d158"
    readonly property color orange: "#ff9f0a"
    readonly property color gray: "#8e8e93"
    readonly property color primaryText: "#ffffff"

    readonly property color rootBackground: Qt.rgba(0.13, 0.13, 0.15, 1)
    readonly property color mainBackground: Qt.rgba(0.095, 0.095, 0.11, 1)
    readonly property color controlTrack: Qt.rgba(1, 1, 1, 0.1)
    /// The ring around the control that has the keyboard focus.
    readonly property color focusRing: "#64d2ff"
    readonly property color dialogBackground: Qt.rgba(0.17, 0.17, 0.19, 1)

    readonly property int headlineSize: 13
    readonly property int smallControlTextSize: 11
    readonly property int miniControlTextSize: 9
    readonly property int smallControlHeight: 20
    readonly property int miniControlHeight: 16

    /// White at the given opacity.
    function white(opacity) {
        return Qt.rgba(1, 1, 1, opacity);
    }

    /// Black at the given opacity.
    function black(opacity) {
        return Qt.rgba(0, 0, 0, opacity);
    }

    /// The given colour at the given opacity.
    function withOpacity(base, opacity) {
        return Qt.rgba(base.r, base.g, base.b, opacity);
    }
}
