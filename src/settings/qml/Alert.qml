import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Driftmark

// A confirmation with a destructive button and Cancel, modal on the window. It opens with the focus
// on Cancel, so that Return does not destroy anything by accident; Escape cancels.
Dialog {
    id: alert

    property string message
    property string destructiveText
    signal confirmed()

    parent: Overlay.overlay
    anchors.centerIn: parent
    modal: true
    Overlay.modal: Rectangle { color: Qt.rgba(0, 0, 0, 0.35) }
    width: 420
    padding: 20
    topPadding: 16
    font.pixelSize: 15
    closePolicy: Popup.CloseOnEscape
    // The keyboard focus goes back where it was, unless what had it went with the confirmation.
    property Item focusBefore: null
    onAboutToShow: focusBefore = parent ? parent.Window.activeFocusItem : null
    onOpened: cancelButton.forceActiveFocus(Qt.TabFocusReason)
    onClosed: if (focusBefore) focusBefore.forceActiveFocus(Qt.PopupFocusReason)

    contentItem: Text {
        textFormat: Text.PlainText
        width: alert.availableWidth
        text: alert.message
        color: Theme.primaryText
        font.pixelSize: 13
        wrapMode: Text.Wrap
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }
    footer: DialogButtonBox {
        DialogButton {
            id: cancelButton
            text: "Cancel"
            DialogButtonBox.buttonRole: DialogButtonBox.RejectRole
        }
        DialogButton {
            text: alert.destructiveText
            DialogButtonBox.buttonRole: DialogButtonBox.DestructiveRole
            palette.buttonText: Theme.red
            onClicked: {
                alert.close();
                alert.confirmed();
            }
        }
        onRejected: alert.close()
    }
}
