import QtQuick
import QtQuick.Controls

// The plain multi-line editor of an entry's text: what is typed is kept exactly, line breaks, tabs and
// trailing spaces included; pasted styled text arrives as its characters.
ScrollView {
    id: editor

    property string text
    property string placeholder
    readonly property alias editor: area

    Theme { id: theme }

    ScrollBar.horizontal.policy: ScrollBar.AlwaysOff
    ScrollBar.vertical.policy: ScrollBar.AsNeeded
    background: Rectangle {
        color: theme.textBackground
        border.width: 1
        border.color: theme.withOpacity(theme.primaryText, 0.3)
    }

    TextArea {
        id: area
        text: editor.text
        placeholderText: editor.placeholder
        textFormat: TextEdit.PlainText
        wrapMode: TextEdit.Wrap
        font.pixelSize: 13
        color: theme.label
        selectByMouse: true
        persistentSelection: true
        background: null
        Accessible.name: "Clipboard Text"
        Accessible.role: Accessible.EditableText
        Component.onCompleted: forceActiveFocus()
        onTextChanged: if (editor.text !== text) editor.text = text
    }
}
