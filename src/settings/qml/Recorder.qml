import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Driftmark

// The shortcut recorder of one shortcut name: shows the name's shortcut. It takes the keyboard focus like
// any field (Tab moves onto it and on); a click on it, or Space or Return while it has the focus, starts
// recording, and the next acceptable keystroke becomes the name's shortcut.
TextField {
    id: field

    property string name
    property QtObject recorder: null
    readonly property string placeholder: recorder ? recorder.placeholder : ""
    // The recorder shows its caret only while it does not record.
    readonly property bool recording: recorder ? !recorder.caretVisible : false

    readOnly: true
    horizontalAlignment: Text.AlignHCenter
    rightPadding: clearButton.visible ? clearButton.width + 6 : padding
    text: recorder ? recorder.text : ""
    // Drawn below instead: the style hides a centred placeholder while the field has the focus, which is
    // exactly while "Press Shortcut" has to show.
    placeholderText: ""
    cursorVisible: recorder ? recorder.caretVisible && activeFocus : false
    selectByMouse: false
    Accessible.role: Accessible.EditableText
    Accessible.name: "Keyboard Shortcut"
    // A screen reader reads the shortcut as the field's text, and hears from the description whether the
    // field waits to be started ("Record Shortcut") or for the keys ("Press Shortcut"), and how to go on.
    Accessible.description: recording ? placeholder + ". Escape cancels." : placeholder + ". Space records."

    Component.onCompleted: recorder = Shortcuts.makeRecorder(field, name)
    onNameChanged: if (recorder) recorder.name = name
    onActiveFocusChanged: if (recorder) recorder.focusChanged(activeFocus)
    // While it records, the recorder takes the clicks and keys before they get here.
    onReleased: if (recorder) recorder.clicked()
    Keys.onPressed: (event) => { event.accepted = recorder !== null && recorder.keyPressed(event.key, event.modifiers); }

    Text {
        textFormat: Text.PlainText
        anchors.fill: parent
        leftPadding: field.leftPadding
        rightPadding: field.rightPadding
        visible: field.text.length === 0
        text: field.placeholder
        font: field.font
        color: field.recording ? Theme.secondaryText : Theme.tertiaryText
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        Accessible.ignored: true
    }

    // The keyboard focus shows, so that the window can be used with the keyboard alone.
    Rectangle {
        anchors.fill: parent
        anchors.margins: -2
        visible: field.activeFocus
        color: "transparent"
        radius: 6
        border.width: 2
        border.color: Theme.accent
    }

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

    // The first button is the default: it has the focus when the alert opens, so Return presses it, and
    // Escape answers with it too.
    Dialog {
        id: alert

        property string message
        property string informativeText
        property var buttons: []
        property int answer: 0

        function choose(index) {
            answer = index;
            close();
        }

        parent: Overlay.overlay
        anchors.centerIn: parent
        modal: true
        focus: true
        closePolicy: Popup.CloseOnEscape
        Overlay.modal: Rectangle { color: Qt.rgba(0, 0, 0, 0.35) }
        width: Math.min(420, parent ? parent.width - 40 : 420)
        title: "Keyboard Shortcut"
        onOpened: {
            answer = 0;
            const first = buttonRow.itemAt(0);
            if (first)
                first.forceActiveFocus(Qt.TabFocusReason);
        }
        onClosed: if (field.recorder) field.recorder.alertAnswered(answer)

        contentItem: ColumnLayout {
            spacing: 8
            Text {
                textFormat: Text.PlainText
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
                textFormat: Text.PlainText
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
                id: buttonRow
                model: alert.buttons
                delegate: Button {
                    required property string modelData
                    required property int index
                    text: modelData
                    highlighted: index === 0
                    Accessible.name: modelData
                    DialogButtonBox.buttonRole: DialogButtonBox.ActionRole
                    onClicked: alert.choose(index)
                    Keys.onReturnPressed: alert.choose(index)
                    Keys.onEnterPressed: alert.choose(index)
                    Keys.onEscapePressed: alert.choose(0)
                }
            }
        }
    }
}
