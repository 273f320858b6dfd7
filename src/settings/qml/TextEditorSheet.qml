import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Driftmark

// The sheet in which an entry's text is edited; the caller decides what Save and Cancel mean.
Sheet {
    id: sheet

    property string text
    signal saved()
    signal cancelled()

    // As large as the window allows, within it.
    width: parent ? Math.min(parent.width - 24, Math.max(500, parent.width * 0.7)) : 500
    height: parent ? Math.min(parent.height - 24, Math.max(300, parent.height * 0.6)) : 300
    // Escape cancels; closing the sheet any other way than Save keeps nothing it typed.
    closePolicy: Popup.CloseOnEscape
    // Each opening starts from the caller's text: what a cancelled opening typed is gone.
    onAboutToShow: textEditor.text = sheet.text
    // Every opening puts the caret in the editor, so typing goes there at once.
    onOpened: textEditor.focusEditor()

    ColumnLayout {
        anchors.fill: parent
        spacing: 16

        RowLayout {
            Layout.fillWidth: true
            Layout.margins: 12
            Text {
                textFormat: Text.PlainText
                text: "Edit Text"
                color: Theme.primaryText
                font.pixelSize: 16
                font.weight: Font.DemiBold
                Accessible.role: Accessible.Heading
                Accessible.name: text
            }
            Item { Layout.fillWidth: true }
            DialogButton {
                text: "Cancel"
                flat: true
                onClicked: sheet.cancelled()
            }
            DialogButton {
                text: "Save"
                flat: true
                palette.buttonText: Theme.accent
                Accessible.name: "Save Text"
                Accessible.description: "Ctrl+Return"
                onClicked: sheet.saved()
            }
        }
        MultilineTextEditor {
            id: textEditor
            text: sheet.text
            placeholder: "Enter your text (supports multiple lines)"
            onTextChanged: sheet.text = text
            onSaveRequested: sheet.saved()
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.minimumHeight: 200
            Layout.leftMargin: 12
            Layout.rightMargin: 12
        }
        Text {
            textFormat: Text.PlainText
            text: "Tip: Press Enter to create new lines, Ctrl+Enter to save. Your text will be copied exactly as typed."
            color: Theme.secondaryText
            font.pixelSize: 11
            wrapMode: Text.Wrap
            Layout.fillWidth: true
            Layout.leftMargin: 12
            Layout.rightMargin: 12
            Layout.bottomMargin: 12
        }
    }

}
