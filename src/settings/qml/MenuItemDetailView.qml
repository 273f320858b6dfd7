import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Driftmark

// The pane of one entry: every change of its name, text, colour and switches is stored at once.
ScrollPane {
    id: pane

    // The entry as stored when the pane was shown for it (see SettingsController.item).
    property var item
    property string title
    property string text
    property color color
    property bool usesSmartPaste
    property bool prependNewline
    readonly property string shortcutName: item ? Shortcuts.menuItemName(item.itemId) : ""
    property bool hasShortcut: Shortcuts.hasShortcut(shortcutName)
    property bool trusted: Settings.isAccessibilityTrusted()

    function load() {
        if (!item)
            return;
        title = item.title;
        text = item.text;
        color = item.iconColor;
        usesSmartPaste = item.usesSmartPaste;
        prependNewline = item.prependNewline;
        nameField.text = title;
        // A title longer than the field shows its beginning, not where the caret would end up.
        nameField.cursorPosition = 0;
        trusted = Settings.isAccessibilityTrusted();
    }
    function updateItem() {
        if (item)
            Settings.updateItem(item.itemId, title, text, color, usesSmartPaste, prependNewline);
    }

    onItemChanged: load()
    Component.onCompleted: load()

    Connections {
        target: Shortcuts
        function onShortcutsChanged() { pane.hasShortcut = Shortcuts.hasShortcut(pane.shortcutName); }
    }

    ColumnLayout {
        width: pane.availableWidth
        spacing: 0

        ColumnLayout {
            spacing: 8
            Layout.fillWidth: true
            Layout.leftMargin: 20
            Layout.rightMargin: 20
            Layout.topMargin: 20
            Layout.bottomMargin: 12
            RowLayout {
                spacing: 12
                Rectangle {
                    implicitWidth: 24
                    implicitHeight: 24
                    radius: 12
                    color: pane.color
                    border.width: 0.5
                    border.color: Theme.separator
                }
                Text {
                    textFormat: Text.PlainText
                    text: pane.title.length > 0 ? pane.title : "Menu Item"
                    color: Theme.primaryText
                    font.pixelSize: 20
                    font.weight: Font.DemiBold
                    elide: Text.ElideRight
                    Layout.fillWidth: true
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
            }
            Text {
                textFormat: Text.PlainText
                text: "Configure settings for this menu bar item"
                color: Theme.secondaryText
                font.pixelSize: 12
            }
        }

        ColumnLayout {
            spacing: 18
            Layout.fillWidth: true
            Layout.leftMargin: 20
            Layout.rightMargin: 20
            Layout.bottomMargin: 20

            FormSection {
                header: SectionHeader { icon: "slider.horizontal.3"; title: "Basic Settings" }

                RowLayout {
                    Layout.fillWidth: true
                    Item { implicitWidth: 20; implicitHeight: 14; Symbol { anchors.centerIn: parent; name: "tag"; color: Theme.secondaryText; size: 14 } }
                    Text { textFormat: Text.PlainText; text: "Item Name"; color: Theme.primaryText; font.pixelSize: Theme.subheadline }
                    Item { Layout.fillWidth: true }
                    TextField {
                        id: nameField
                        placeholderText: "Enter item name"
                        Layout.preferredWidth: 200
                        Accessible.name: "Item Name"
                        onTextEdited: {
                            pane.title = text;
                            pane.updateItem();
                        }
                    }
                }
                RowLayout {
                    Layout.fillWidth: true
                    Item {
                        implicitWidth: 20
                        implicitHeight: 16
                        Layout.alignment: Qt.AlignTop
                        Symbol { anchors.horizontalCenter: parent.horizontalCenter; y: 2; name: "doc.text"; color: Theme.secondaryText; size: 14 }
                    }
                    ColumnLayout {
                        spacing: 4
                        Layout.fillWidth: true
                        Layout.alignment: Qt.AlignTop
                        Text { textFormat: Text.PlainText; text: "Clipboard Text"; color: Theme.primaryText; font.pixelSize: Theme.subheadline }
                        Text {
                            text: Settings.preview(pane.text, 60, "Click Edit to set text...")
                            color: Theme.secondaryText
                            font.pixelSize: Theme.caption
                            maximumLineCount: 2
                            wrapMode: Text.WrapAnywhere
                            elide: Text.ElideRight
                            textFormat: Text.PlainText
                            Layout.fillWidth: true
                            Accessible.role: Accessible.StaticText
                            Accessible.name: "Text preview: " + text
                        }
                    }
                    Button {
                        text: "Edit"
                        Layout.alignment: Qt.AlignTop
                        Accessible.name: "Edit Text"
                        onClicked: textSheet.open(pane.text)
                    }
                }
                ColumnLayout {
                    spacing: 10
                    Layout.fillWidth: true
                    RowLayout {
                        Item { implicitWidth: 20; implicitHeight: 14; Symbol { anchors.centerIn: parent; name: "paintpalette"; color: Theme.secondaryText; size: 14 } }
                        Text { textFormat: Text.PlainText; text: "Icon Color"; color: Theme.primaryText; font.pixelSize: Theme.subheadline }
                    }
                    GridLayout {
                        columns: 5
                        columnSpacing: 10
                        rowSpacing: 10
                        Layout.leftMargin: 28
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
                                    isSelected: Settings.isColorSelected(pane.color, modelData.color)
                                    onChosen: {
                                        pane.color = modelData.color;
                                        pane.updateItem();
                                    }
                                }
                            }
                        }
                    }
                }
            }

            FormSection {
                header: SectionHeader { icon: "command.square"; title: "Keyboard Shortcut" }

                RowLayout {
                    Layout.fillWidth: true
                    Item { implicitWidth: 20; implicitHeight: 14; Symbol { anchors.centerIn: parent; name: "command"; color: Theme.secondaryText; size: 14 } }
                    Text { textFormat: Text.PlainText; text: "Shortcut"; color: Theme.primaryText; font.pixelSize: Theme.subheadline }
                    Item { Layout.fillWidth: true }
                    Recorder {
                        name: pane.shortcutName
                        Layout.preferredWidth: 140
                        Layout.preferredHeight: 28
                    }
                    Button {
                        visible: pane.hasShortcut
                        text: "Clear"
                        flat: true
                        font.pixelSize: 12
                        palette.buttonText: Theme.secondaryText
                        Accessible.name: "Clear Shortcut"
                        onClicked: Shortcuts.clearShortcut(pane.shortcutName)
                    }
                }
                InfoBox { text: "Use this keyboard shortcut to copy this item's text from anywhere on your desktop." }
            }

            FormSection {
                header: SectionHeader { icon: "doc.on.doc.fill"; title: "Smart Paste" }

                ModernToggle {
                    Layout.fillWidth: true
                    icon: "doc.on.doc"
                    title: "Enable Smart Paste"
                    subtitle: "Automatically pastes after copying and preserves your original clipboard"
                    isOn: pane.usesSmartPaste
                    onToggled: {
                        pane.usesSmartPaste = isOn;
                        pane.updateItem();
                    }
                }
                ModernToggle {
                    Layout.fillWidth: true
                    icon: "return"
                    title: "Prepend New Line"
                    subtitle: "Inserts a new line (Enter) before pasting the text"
                    enabled: pane.usesSmartPaste
                    isOn: pane.prependNewline
                    onToggled: {
                        pane.prependNewline = isOn;
                        pane.updateItem();
                    }
                }
                SuccessBox {
                    visible: pane.trusted
                    text: "Accessibility permission granted"
                }
                RowLayout {
                    visible: !pane.trusted
                    Layout.fillWidth: true
                    WarningBox { text: "Accessibility permission required for Smart Paste" }
                    Button {
                        text: "Open System Settings"
                        flat: true
                        font.pixelSize: 11
                        palette.buttonText: Theme.accent
                        Accessible.name: text
                        onClicked: Settings.openAccessibilitySettings()
                    }
                }
            }
        }
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
                pane.text = text;
                textSheet.item.close();
                pane.updateItem();
            }
            onCancelled: textSheet.item.close()
        }
    }
}
