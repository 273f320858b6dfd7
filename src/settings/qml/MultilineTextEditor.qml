import QtQuick
import QtQuick.Controls
import Driftmark

// The plain multi-line editor of an entry's text: what is typed is kept exactly, line breaks, tabs and
// trailing spaces included; pasted styled text arrives as its characters.
ScrollView {
    id: editor

    property string text
    property string placeholder
    // Ctrl+Return (or Ctrl+Enter) was pressed: the text is done.
    signal saveRequested()

    function focusEditor() {
        area.forceActiveFocus(Qt.OtherFocusReason);
    }

    ScrollBar.horizontal.policy: ScrollBar.AlwaysOff
    ScrollBar.vertical.policy: ScrollBar.AsNeeded
    background: Rectangle {
        color: Theme.textBackground
        border.width: 1
        border.color: Theme.withOpacity(Theme.primaryText, 0.3)
    }

    TextArea {
        id: area
        text: editor.text
        placeholderText: editor.placeholder
        textFormat: TextEdit.PlainText
        wrapMode: TextEdit.Wrap
        font.pixelSize: 13
        color: Theme.label
        selectByMouse: true
        persistentSelection: true
        background: null
        Accessible.name: "Clipboard Text"
        Accessible.role: Accessible.EditableText
        Keys.onPressed: event => {
            if ((event.key === Qt.Key_Return || event.key === Qt.Key_Enter) && (event.modifiers & Qt.ControlModifier)) {
                event.accepted = true;
                editor.saveRequested();
            }
        }
        onTextChanged: if (editor.text !== text) editor.text = text
    }
}
