import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Driftmark

// The settings window's content: header, sidebar, the selected pane and footer, and the add, delete and
// reset dialogs.
Rectangle {
    id: view

    color: Theme.windowBackground
    implicitWidth: 800
    implicitHeight: 700

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        // Header
        Rectangle {
            Layout.fillWidth: true
            implicitHeight: header.implicitHeight + 32
            gradient: Gradient {
                GradientStop { position: 0; color: Theme.controlBackground }
                GradientStop { position: 1; color: Theme.withOpacity(Theme.controlBackground, 0.95) }
            }
            RowLayout {
                id: header
                anchors.fill: parent
                anchors.leftMargin: 24
                anchors.rightMargin: 24
                anchors.topMargin: 16
                anchors.bottomMargin: 16
                spacing: 16

                Rectangle {
                    implicitWidth: 44
                    implicitHeight: 44
                    radius: 10
                    Layout.alignment: Qt.AlignBottom
                    gradient: Gradient {
                        orientation: Gradient.Vertical
                        GradientStop { position: 0; color: Theme.blue }
                        GradientStop { position: 1; color: Theme.withOpacity(Theme.blue, 0.8) }
                    }
                    Symbol { anchors.centerIn: parent; name: "gear"; color: "white"; size: 24 }
                }
                ColumnLayout {
                    spacing: 2
                    Layout.alignment: Qt.AlignBottom
                    Text {
                        textFormat: Text.PlainText
                        text: "Driftmark Settings"
                        color: Theme.primaryText
                        font.pixelSize: 20
                        font.weight: Font.DemiBold
                        Accessible.role: Accessible.Heading
                        Accessible.name: text
                    }
                    Text {
                        textFormat: Text.PlainText
                        text: "Configure your menu bar items"
                        color: Theme.secondaryText
                        font.pixelSize: 12
                    }
                }
                Item { Layout.fillWidth: true }
                Text {
                    textFormat: Text.PlainText
                    text: "v" + Settings.appVersion
                    color: Theme.secondaryText
                    font.pixelSize: 12
                    Layout.alignment: Qt.AlignBottom
                }
            }
        }
        Rectangle { Layout.fillWidth: true; implicitHeight: 1; color: Theme.withOpacity(Theme.gray, 0.3) }

        RowLayout {
            spacing: 0
            Layout.fillWidth: true
            Layout.fillHeight: true

            // Sidebar
            Rectangle {
                Layout.preferredWidth: 250
                Layout.fillHeight: true
                color: Theme.withOpacity(Theme.controlBackground, 0.5)

                ColumnLayout {
                    anchors.fill: parent
                    anchors.margins: 16
                    spacing: 2

                    SidebarRow {
                        id: generalRow
                        text: "General"
                        symbol: "gearshape"
                        selected: Settings.selectedSection === "general"
                        onClicked: Settings.selectedSection = "general"
                    }
                    Item { implicitHeight: 16 }

                    RowLayout {
                        Layout.fillWidth: true
                        Layout.leftMargin: 12
                        Layout.rightMargin: 12
                        Layout.bottomMargin: 8
                        Text {
                            textFormat: Text.PlainText
                            text: "MENU BAR ITEMS"
                            color: Theme.secondaryText
                            font.pixelSize: 11
                            font.weight: Font.DemiBold
                        }
                        Item { Layout.fillWidth: true }
                        SymbolButton {
                            symbol: "plus.circle"
                            color: Theme.accent
                            size: 14
                            enabled: Settings.canAddItem
                            Accessible.name: "Add menu item"
                            Accessible.description: Settings.addItemToolTip
                            ToolTip.text: Settings.addItemToolTip
                            onClicked: addItemSheet.open()
                        }
                    }

                    // Scrolls between the header and About when the window is too low for every entry.
                    ListView {
                        id: itemList
                        Layout.fillWidth: true
                        Layout.fillHeight: true
                        Layout.preferredHeight: contentHeight
                        Layout.maximumHeight: contentHeight
                        Layout.minimumHeight: Math.min(contentHeight, 40)
                        clip: true
                        boundsBehavior: Flickable.StopAtBounds
                        // Every row exists, scrolled out of sight or not, so that Tab reaches each.
                        cacheBuffer: 1000
                        ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }
                        spacing: 2
                        model: Settings.items
                        Accessible.role: Accessible.List
                        Accessible.name: "Menu Bar Items"
                        delegate: RowLayout {
                            id: itemRow
                            required property int index
                            required property string itemId
                            required property string title
                            required property color iconColor
                            readonly property bool selected: Settings.selectedSection === itemId

                            width: itemList.width
                            spacing: 8
                            SidebarRow {
                                text: itemRow.title
                                dotColor: itemRow.iconColor
                                selected: itemRow.selected
                                onClicked: Settings.selectedSection = itemRow.itemId
                                // A row reached with Tab is scrolled into view.
                                onActiveFocusChanged: if (activeFocus) itemList.positionViewAtIndex(itemRow.index, ListView.Contain)
                            }
                            SymbolButton {
                                visible: Settings.showsDeleteControls
                                symbol: "minus.circle"
                                color: Theme.withOpacity(Theme.red, 0.7)
                                size: 12
                                Layout.rightMargin: 12
                                opacity: itemRow.selected ? 1 : 0
                                enabled: itemRow.selected
                                onActiveFocusChanged: if (activeFocus) itemList.positionViewAtIndex(itemRow.index, ListView.Contain)
                                Behavior on opacity { NumberAnimation { duration: 100; easing.type: Easing.InOutQuad } }
                                Accessible.name: "Delete " + itemRow.title
                                onClicked: {
                                    Settings.requestDelete(itemRow.itemId);
                                    deleteDialog.open();
                                }
                            }
                        }
                    }

                    Item { Layout.fillHeight: true }
                    Rectangle {
                        Layout.fillWidth: true
                        Layout.topMargin: 8
                        Layout.bottomMargin: 8
                        implicitHeight: 1
                        color: Theme.separator
                    }
                    SidebarRow {
                        text: "About"
                        symbol: "info.circle"
                        selected: Settings.selectedSection === "about"
                        onClicked: Settings.selectedSection = "about"
                    }
                }
            }
            Rectangle { Layout.fillHeight: true; implicitWidth: 1; color: Theme.withOpacity(Theme.gray, 0.3) }

            // Content pane
            Loader {
                id: pane
                Layout.fillWidth: true
                Layout.fillHeight: true
                readonly property string section: Settings.selectedSection
                readonly property bool showsItem: section !== "general" && section !== "about"
                // Bumped when entries disappear, so that the pane of one that is gone gives way to the
                // empty state; edits of an entry leave its pane alone.
                property int removals: 0
                readonly property var selectedItem: {
                    removals;
                    return showsItem ? Settings.item(section) : null;
                }
                sourceComponent: section === "general" ? generalPane
                               : section === "about" ? aboutPane
                               : selectedItem ? itemPane : emptyState
                Connections {
                    target: Settings.items
                    function onRowsRemoved() { pane.removals++; }
                    function onModelReset() { pane.removals++; }
                }
            }
        }

        Rectangle { Layout.fillWidth: true; implicitHeight: 1; color: Theme.withOpacity(Theme.gray, 0.3) }

        // Footer
        Rectangle {
            Layout.fillWidth: true
            implicitHeight: footer.implicitHeight + 24
            color: Theme.withOpacity(Theme.controlBackground, 0.5)
            RowLayout {
                id: footer
                anchors.fill: parent
                anchors.leftMargin: 24
                anchors.rightMargin: 24
                anchors.topMargin: 12
                anchors.bottomMargin: 12
                AbstractButton {
                    id: resetButton
                    text: "Reset to Defaults"
                    implicitWidth: resetRow.implicitWidth
                    implicitHeight: resetRow.implicitHeight
                    Accessible.role: Accessible.Button
                    Accessible.name: text
                    HoverHandler { cursorShape: Qt.PointingHandCursor }
                    contentItem: RowLayout {
                        id: resetRow
                        spacing: 6
                        Symbol { name: "arrow.counterclockwise"; color: Theme.withOpacity(Theme.orange, 0.8); size: 13 }
                        Text { textFormat: Text.PlainText; text: resetButton.text; color: Theme.withOpacity(Theme.orange, 0.8); font.pixelSize: 13 }
                    }
                    background: Item {
                        FocusRing { radius: 4 }
                    }
                    onClicked: resetDialog.open()
                }
                Item { Layout.fillWidth: true }
                Text { textFormat: Text.PlainText; text: "Changes are saved automatically"; color: Theme.secondaryText; font.pixelSize: 11 }
            }
        }
    }

    Component {
        id: generalPane
        ScrollPane {
            GeneralPane { width: parent.width }
        }
    }
    Component {
        id: aboutPane
        ScrollPane {
            AboutPane { width: parent.width }
        }
    }
    Component {
        id: itemPane
        MenuItemDetailView { item: pane.selectedItem }
    }
    Component {
        id: emptyState
        Item {
            ColumnLayout {
                anchors.centerIn: parent
                width: parent.width - 40
                spacing: 16
                Symbol { name: "menubar.rectangle"; color: Theme.secondaryText; size: 48; Layout.alignment: Qt.AlignHCenter }
                Text {
                    textFormat: Text.PlainText
                    text: "No Menu Item Selected"
                    color: Theme.secondaryText
                    font.pixelSize: 16
                    font.weight: Font.Medium
                    Layout.alignment: Qt.AlignHCenter
                }
                Text {
                    textFormat: Text.PlainText
                    text: "Select a menu item from the sidebar to configure its settings"
                    color: Theme.secondaryText
                    font.pixelSize: 13
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.Wrap
                    Layout.fillWidth: true
                }
            }
        }
    }

    // The sheet and the confirmations are built when first asked for: most openings of the window need
    // none of them.
    Loader {
        id: addItemSheet
        active: false
        function open() {
            active = true;
            item.open();
        }
        sourceComponent: Sheet {
            // Within the window however small it is; the form scrolls inside.
            width: Math.min(450, parent.width - 24)
            height: Math.min(parent.height - 24, Math.max(400, editForm.implicitHeight))
            closePolicy: Popup.CloseOnEscape
            onOpened: editForm.load()
            onClosed: editForm.discard()
            ScrollPane {
                anchors.fill: parent
                MenuItemEditView {
                    id: editForm
                    width: parent.width
                    height: Math.max(implicitHeight, addItemSheet.item ? addItemSheet.item.height : 0)
                    onSaved: addItemSheet.item.close()
                    onCancelled: addItemSheet.item.close()
                }
            }
        }
    }

    Loader {
        id: deleteDialog
        active: false
        function open() {
            active = true;
            item.open();
        }
        sourceComponent: Alert {
            title: "Delete Menu Item"
            message: Settings.deleteMessage
            destructiveText: "Delete"
            onConfirmed: {
                Settings.confirmDelete();
                // The delete control of the selected entry had the focus and went with it: the focus
                // goes where the selection went.
                if (Settings.selectedSection === "general")
                    generalRow.forceActiveFocus(Qt.OtherFocusReason);
            }
        }
    }

    Loader {
        id: resetDialog
        active: false
        function open() {
            active = true;
            item.open();
        }
        sourceComponent: Alert {
            title: "Reset All Settings"
            message: "This will reset all settings to their default values and restart the app. Are you sure?"
            destructiveText: "Reset"
            onConfirmed: Settings.resetAllSettings()
        }
    }
}
