pragma Singleton
import QtQuick

// The desktop's colours under the names the views use, and the fixed sizes of the text styles.
QtObject {
    readonly property SystemPalette palette: SystemPalette { colorGroup: SystemPalette.Active }
    readonly property SystemPalette disabledPalette: SystemPalette { colorGroup: SystemPalette.Disabled }

    readonly property color primaryText: palette.windowText
    readonly property color secondaryText: Qt.rgba(palette.windowText.r, palette.windowText.g, palette.windowText.b, 0.62)
    readonly property color tertiaryText: Qt.rgba(palette.windowText.r, palette.windowText.g, palette.windowText.b, 0.42)
    readonly property color accent: palette.highlight
    readonly property color windowBackground: palette.window
    readonly property bool isDark: palette.window.hslLightness < 0.5
    readonly property color controlBackground: palette.base
    // The panels that group a pane's rows: on a dark desktop a shade lighter than the window, so that
    // the fields on them (drawn in the base colour) keep their outline.
    readonly property color cardBackground: isDark ? Qt.lighter(palette.window, 1.3) : palette.base
    readonly property color textBackground: palette.base
    readonly property color label: palette.text
    readonly property color separator: Qt.rgba(palette.windowText.r, palette.windowText.g, palette.windowText.b, 0.18)

    readonly property color blue: "#007aff"
    readonly property color red: "#ff3b30"
    readonly property color orange: "#ff9500"
    readonly property color gray: "#8e8e93"

    readonly property int headline: 13
    readonly property int subheadline: 12
    readonly property int caption: 11

    function withOpacity(c, opacity) {
        return Qt.rgba(c.r, c.g, c.b, c.a * opacity);
    }
}
