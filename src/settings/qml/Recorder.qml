import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Driftmark

// The shortcut recorder of one shortcut name: shows the name's shortcut; a click starts recording and
// the next acceptable keystroke becomes the name's shortcut.
TextField {
    id: field

    property string name
    property QtObject recorder: null

    readOnly: true
    horizontalAlignment: Text.AlignHCenter
    rightPadding: clearButton.visible ? clearButton.width + 6 : padding
    text: recorder ? recorder.text : ""
    placeholderText: recorder ? recorder.placeholder : ""
    cursorVisible: recorder ? recorder.caretVisible && activeFocus : false
    selectByMouse: false
    Accessible.role: Accessible.EditableText
    Accessible.name: "Keyboard Shortcut"
    // A screen reader reads the shortcut as the field's text, and hears from the description whether the
    // field waits for a click ("Record Shortcut") or for the keys ("Press Shortcut").
    Accessible.description: placeholderText

    Component.onCompleted: recorder = Shortcuts.makeRecorder(field, name)
    onNameChanged: if (recorder) recorder.name = name
    onActiveFocusChanged: if (recorder) recorder.focusChanged(activeFocus)

    SymbolButton {
        id: clearButton
        anchors.right: parent.right
        anchors.rightMargin: 6
        anchors.verticalCenter: parent.verticalCenter
        visible: field.recorder ? field.recorder.clearButtonVisible : false
        symbol: "xmark.circle.fill"
        color: Theme.tertiaryText
        size: 13
        focusPolicy: Qt.NoFocus
        Accessible.name: "Clear Shortcut Field"
        // On press: while recording, the release of a click on the field is taken by the recorder.
        onPressed: field.recorder.clearButtonPressed()
    }

    Connections {
        target: field.recorder
        function onAlertRequested(message, informativeText, buttons) {
            alert.message = message;
            alert.informativeText = informativeText;
            alert.buttons = buttons;
            alert.open();
        }
    }

    Dialog {
        id: alert

        property string message
        property string informativeText
        property var buttons: []
        property int answer: 0

        parent: Overlay.overlay
        anchors.centerIn: parent
        modal: true
        Overlay.modal: Rectangle { color: Qt.rgba(0, 0, 0, 0.35) }
        width: Math.min(420, parent ? parent.width - 40 : 420)
        title: "Keyboard Shortcut"
        onOpened: answer = 0
        onClosed: if (field.recorder) field.recorder.alertAnswered(answer)

        contentItem: ColumnLayout {
            spacing: 8
            Text {
                text: alert.message
                color: Theme.primaryText
                font.pixelSize: 13
                font.weight: Font.DemiBold
                wrapMode: Text.Wrap
                Layout.fillWidth: true
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            Text {
                visible: alert.informativeText.length > 0
                text: alert.informativeText
                color: Theme.secondaryText
                font.pixelSize: 12
                wrapMode: Text.Wrap
                Layout.fillWidth: true
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }
        footer: DialogButtonBox {
            Repeater {
                model: alert.buttons
                delegate: Button {
                    required property string modelData
                    required property int index
                    text: modelData
                    Accessible.name: modelData
                    DialogButtonBox.buttonRole: DialogButtonBox.ActionRole
                    onClicked: {
                        alert.answer = index;
                        alert.close();
                    }
                }
            }
        }
    }
}
