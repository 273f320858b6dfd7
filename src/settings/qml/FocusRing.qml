import QtQuick
import Driftmark

// The outline that shows which control has the keyboard focus, for controls that draw themselves.
Rectangle {
    // The control whose focus it shows; by default the one whose background holds the ring.
    property Item control: parent ? parent.parent : null
    // Drawn on a surface of the accent colour (a selected row), the ring is drawn in white instead.
    property bool onAccent: false

    anchors.fill: parent
    anchors.margins: onAccent ? 2 : -2
    radius: 6
    color: "transparent"
    border.width: 2
    border.color: onAccent ? "white" : Theme.accent
    visible: control !== null && control.visualFocus === true
}
