import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Driftmark

// A confirmation with a destructive button and Cancel, modal on the window.
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

    contentItem: Text {
        width: alert.availableWidth
        text: alert.message
        color: Theme.primaryText
        font.pixelSize: 13
        wrapMode: Text.Wrap
        Accessible.role: Accessible.StaticText
        Accessible.name: text
    }
    footer: DialogButtonBox {
        Button {
            text: "Cancel"
            DialogButtonBox.buttonRole: DialogButtonBox.RejectRole
            Accessible.name: text
        }
        Button {
            text: alert.destructiveText
            DialogButtonBox.buttonRole: DialogButtonBox.DestructiveRole
            Accessible.name: text
            palette.buttonText: Theme.red
            onClicked: {
                alert.close();
                alert.confirmed();
            }
        }
        onRejected: alert.close()
    }
}
