import QtQuick
import QtQuick.Controls
import Driftmark

// A modal sheet over the window: nothing behind it reacts while it is open.
Popup {
    id: sheet

    parent: Overlay.overlay
    anchors.centerIn: parent
    modal: true
    Overlay.modal: Rectangle { color: Qt.rgba(0, 0, 0, 0.35) }
    focus: true
    padding: 0
    closePolicy: Popup.NoAutoClose
    // The keyboard focus goes back where it was, so that the keyboard alone carries on from there.
    property Item focusBefore: null
    onAboutToShow: focusBefore = parent ? parent.Window.activeFocusItem : null
    onClosed: if (focusBefore) focusBefore.forceActiveFocus(Qt.PopupFocusReason)
    background: Rectangle {
        color: Theme.windowBackground
        radius: 10
        border.width: 1
        border.color: Theme.separator
    }
}
