import QtQuick
import QtQuick.Window
import Driftmark

// A window of Driftmark's whose controls take the desktop's colours, and take them again whenever the
// desktop changes them (a dark theme chosen while the window is open): the style's own colours are
// always light.
Window {
    visible: false
    palette {
        window: Theme.palette.window
        windowText: Theme.palette.windowText
        base: Theme.palette.base
        alternateBase: Theme.palette.alternateBase
        text: Theme.palette.text
        button: Theme.palette.button
        buttonText: Theme.palette.buttonText
        highlight: Theme.palette.highlight
        highlightedText: Theme.palette.highlightedText
        light: Theme.palette.light
        midlight: Theme.palette.midlight
        mid: Theme.palette.mid
        dark: Theme.palette.dark
        shadow: Theme.palette.shadow
        placeholderText: Theme.palette.placeholderText
        toolTipBase: Theme.palette.toolTipBase
        toolTipText: Theme.palette.toolTipText
        disabled {
            windowText: Theme.disabledPalette.windowText
            text: Theme.disabledPalette.text
            buttonText: Theme.disabledPalette.buttonText
            button: Theme.disabledPalette.button
            base: Theme.disabledPalette.base
            placeholderText: Theme.disabledPalette.placeholderText
        }
    }
}
