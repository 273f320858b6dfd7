import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Driftmark

// Start at login and the older application-wide shortcut.
ColumnLayout {
    id: general

    readonly property string legacyName: Shortcuts.copyToClipboardName
    property bool hasLegacyShortcut: Shortcuts.hasShortcut(legacyName)

    spacing: 18
    Connections {
        target: Shortcuts
        function onShortcutsChanged() { general.hasLegacyShortcut = Shortcuts.hasShortcut(general.legacyName); }
    }

    Item { implicitHeight: 8 }

    // What this desktop keeps from working, such as a Wayland compositor without the protocols Driftmark
    // uses: said at start-up too, but this is where a user looks when something does not work.
    FormSection {
        visible: Settings.desktopNotice !== ""
        Layout.leftMargin: 16
        Layout.rightMargin: 16
        header: Text {
            textFormat: Text.PlainText
            text: "This Desktop"
            color: Theme.primaryText
            font.pixelSize: Theme.headline
            font.weight: Font.DemiBold
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        WarningBox {
            Layout.topMargin: 8
            Layout.bottomMargin: 8
            text: Settings.desktopNotice
        }
    }

    FormSection {
        Layout.leftMargin: 16
        Layout.rightMargin: 16
        header: Text {
            textFormat: Text.PlainText
            text: "Startup"
            color: Theme.primaryText
            font.pixelSize: Theme.headline
            font.weight: Font.DemiBold
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        ModernToggle {
            Layout.fillWidth: true
            Layout.topMargin: 8
            Layout.bottomMargin: 8
            icon: "power"
            title: "Start at Login"
            subtitle: "Automatically launch when you log in to your desktop"
            isOn: Settings.launchAtLogin
            // The flip breaks the binding; bound again, the switch shows what was done, which a refused
            // change (back off) is not.
            onToggled: {
                Settings.launchAtLogin = isOn;
                isOn = Qt.binding(() => Settings.launchAtLogin);
            }
        }
    }

    FormSection {
        Layout.leftMargin: 16
        Layout.rightMargin: 16
        header: Text {
            textFormat: Text.PlainText
            text: "Legacy Global Shortcut"
            color: Theme.primaryText
            font.pixelSize: Theme.headline
            font.weight: Font.DemiBold
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        RowLayout {
            Layout.fillWidth: true
            Layout.topMargin: 8
            Item { implicitWidth: 24; implicitHeight: 24; Symbol { anchors.centerIn: parent; name: "command.square"; color: Theme.accent; size: 16 } }
            Text { textFormat: Text.PlainText; text: "Copy to Clipboard:"; color: Theme.primaryText; font.pixelSize: Theme.subheadline; font.weight: Font.Medium }
            Recorder {
                name: general.legacyName
                Layout.preferredWidth: 160
                Layout.preferredHeight: 28
            }
            AbstractButton {
                id: clearButton
                visible: general.hasLegacyShortcut
                text: "Clear"
                implicitWidth: clearLabel.implicitWidth + 16
                implicitHeight: clearLabel.implicitHeight + 8
                Accessible.role: Accessible.Button
                Accessible.name: "Clear Shortcut"
                HoverHandler { cursorShape: Qt.PointingHandCursor }
                contentItem: Text {
                    textFormat: Text.PlainText
                    id: clearLabel
                    text: clearButton.text
                    color: Theme.secondaryText
                    font.pixelSize: 12
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                }
                background: Rectangle {
                    radius: 4
                    color: Theme.controlBackground
                    border.width: 1
                    border.color: Theme.separator
                    FocusRing { radius: 6 }
                }
                onClicked: Shortcuts.clearShortcut(general.legacyName)
            }
            Item { Layout.fillWidth: true }
        }
        InfoBox {
            Layout.bottomMargin: 8
            text: "This legacy shortcut triggers the first menu item for backward compatibility. We recommend using item-specific shortcuts instead."
        }
    }
    Item { implicitHeight: 16 }
}
