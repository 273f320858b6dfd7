import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Driftmark

// The form in which a new entry is put together; nothing is stored before Save.
Item {
    id: form

    // The id the new entry will get, fixed when the form opens, so that a shortcut recorded here
    // belongs to it.
    property string itemId
    property string title
    property string text
    property color color: Settings.defaultColor
    property bool usesSmartPaste: false
    readonly property string shortcutName: itemId.length > 0 ? Shortcuts.menuItemName(itemId) : ""
    // Whether this opening of the form ended with Save.
    property bool wasSaved: false
    signal saved()
    signal cancelled()

    // Starts a new entry.
    function load() {
        itemId = Settings.newItemId();
        title = "";
        text = "";
        color = Settings.defaultColor;
        usesSmartPaste = false;
        wasSaved = false;
        nameField.text = "";
        smartPasteBox.checked = false;
        nameField.forceActiveFocus();
    }
    function save() {
        Settings.addItem(itemId, title, text, color, usesSmartPaste);
        wasSaved = true;
        form.saved();
    }
    // However the form goes away without Save, a shortcut recorded for the entry that was never made
    // goes with it.
    function discard() {
        if (!wasSaved)
            Shortcuts.clearShortcut(shortcutName);
    }

    implicitHeight: content.implicitHeight + 12

    ColumnLayout {
        id: content
        anchors.fill: parent
        spacing: 10

        RowLayout {
            Layout.fillWidth: true
            Layout.leftMargin: 12
            Layout.rightMargin: 12
            Layout.topMargin: 8
            Text {
                textFormat: Text.PlainText
                text: "Add Menu Item"
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
                onClicked: form.cancelled()
            }
            DialogButton {
                id: saveButton
                text: "Save"
                flat: true
                enabled: form.title.length > 0 && form.text.length > 0
                palette.buttonText: enabled ? Theme.accent : Theme.tertiaryText
                onClicked: form.save()
            }
        }

        ColumnLayout {
            spacing: 12
            Layout.fillWidth: true
            Layout.leftMargin: 12
            Layout.rightMargin: 12

            TextField {
                id: nameField
                placeholderText: "Item Name"
                Layout.fillWidth: true
                Accessible.name: "Item Name"
                ToolTip.text: "A short name for this menu item"
                ToolTip.visible: hovered
                ToolTip.delay: 700
                onTextEdited: form.title = text
                // Return saves the entry once it has a name and a text.
                onAccepted: if (saveButton.enabled) form.save()
            }

            ColumnLayout {
                spacing: 8
                Layout.fillWidth: true
                Text { textFormat: Text.PlainText; text: "Clipboard Text"; color: Theme.primaryText; font.pixelSize: 12; font.weight: Font.Medium }
                Rectangle {
                    Layout.fillWidth: true
                    implicitHeight: textRow.implicitHeight + 16
                    radius: 4
                    color: "transparent"
                    border.width: 1
                    border.color: Theme.separator
                    RowLayout {
                        id: textRow
                        anchors.fill: parent
                        anchors.margins: 8
                        Text {
                            text: Settings.preview(form.text, 50, "Click to set text...")
                            color: form.text.length > 0 ? Theme.primaryText : Theme.secondaryText
                            font.pixelSize: 12
                            maximumLineCount: 2
                            wrapMode: Text.WrapAnywhere
                            elide: Text.ElideRight
                            textFormat: Text.PlainText
                            Layout.fillWidth: true
                            Accessible.role: Accessible.StaticText
                            Accessible.name: "Text preview: " + text
                        }
                        Button {
                            text: "Edit"
                            flat: true
                            palette.buttonText: Theme.accent
                            Accessible.name: "Edit Text"
                            onClicked: textSheet.open(form.text)
                        }
                    }
                }
            }

            ColumnLayout {
                spacing: 8
                Layout.fillWidth: true
                Text { textFormat: Text.PlainText; text: "Icon Color"; color: Theme.primaryText; font.pixelSize: 12; font.weight: Font.Medium }
                GridLayout {
                    columns: 5
                    columnSpacing: 10
                    rowSpacing: 10
                    Layout.fillWidth: true
                    Accessible.role: Accessible.Grouping
                    Accessible.name: "Icon Color"
                    Repeater {
                        model: Settings.colorOptions
                        delegate: Item {
                            required property var modelData
                            Layout.fillWidth: true
                            implicitHeight: 30
                            ColorOption {
                                anchors.centerIn: parent
                                color: modelData.color
                                colorName: modelData.name
                                isSelected: Settings.isColorSelected(form.color, modelData.color)
                                onChosen: form.color = modelData.color
                            }
                        }
                    }
                }
            }

            ColumnLayout {
                spacing: 8
                Layout.fillWidth: true
                CheckBox {
                    id: smartPasteBox
                    text: "Enable Smart Paste"
                    Accessible.name: text
                    onCheckedChanged: form.usesSmartPaste = checked
                }
                Text {
                    textFormat: Text.PlainText
                    text: "When enabled, automatically pastes after copying and preserves clipboard contents."
                    color: Theme.secondaryText
                    font.pixelSize: 11
                    wrapMode: Text.Wrap
                    Layout.fillWidth: true
                }
            }

            ColumnLayout {
                spacing: 8
                Layout.fillWidth: true
                Text { textFormat: Text.PlainText; text: "Keyboard Shortcut"; color: Theme.primaryText; font.pixelSize: 12; font.weight: Font.Medium }
                RowLayout {
                    Text { textFormat: Text.PlainText; text: "Shortcut:"; color: Theme.secondaryText; font.pixelSize: 12 }
                    Recorder {
                        name: form.shortcutName
                        Layout.preferredWidth: 160
                        Layout.preferredHeight: 28
                    }
                }
                Text {
                    textFormat: Text.PlainText
                    text: "Set a custom keyboard shortcut for this menu item."
                    color: Theme.secondaryText
                    font.pixelSize: 11
                }
            }
        }
        Item { Layout.fillHeight: true }
    }

    // Built when the text is first edited.
    Loader {
        id: textSheet
        active: false
        function open(text) {
            active = true;
            item.text = text;
            item.open();
        }
        sourceComponent: TextEditorSheet {
            onSaved: {
                form.text = text;
                textSheet.item.close();
            }
            onCancelled: textSheet.item.close()
        }
    }
}
