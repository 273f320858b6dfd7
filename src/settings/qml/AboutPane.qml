import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Driftmark

// Name, version, description, the website and the credits, inside the settings window.
ColumnLayout {

    spacing: 18

    Item { implicitHeight: 8 }

    FormSection {
        Layout.leftMargin: 16
        Layout.rightMargin: 16
        header: Text {
            textFormat: Text.PlainText
            text: "About Driftmark"
            color: Theme.primaryText
            font.pixelSize: Theme.headline
            font.weight: Font.DemiBold
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        RowLayout {
            spacing: 16
            Layout.topMargin: 8
            Image {
                source: "qrc:/driftmark/settings/AboutIcon.svg"
                sourceSize: Qt.size(96, 96)
                Layout.preferredWidth: 48
                Layout.preferredHeight: 48
                Accessible.role: Accessible.Graphic
                Accessible.name: "Driftmark icon"
            }
            ColumnLayout {
                spacing: 4
                Text { textFormat: Text.PlainText; text: "Driftmark"; color: Theme.primaryText; font.pixelSize: 15; font.weight: Font.DemiBold }
                Text {
                    textFormat: Text.PlainText
                    text: "Version " + Settings.appVersion
                    color: Theme.secondaryText
                    font.pixelSize: 11
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
            }
        }
        Text {
            textFormat: Text.PlainText
            text: "Copy your custom text to clipboard with one click from the menu bar. Features Smart Paste, keyboard shortcuts, and up to 10 customizable menu items."
            color: Theme.secondaryText
            font.pixelSize: Theme.caption
            wrapMode: Text.Wrap
            Layout.fillWidth: true
            Layout.bottomMargin: 8
        }
    }

    FormSection {
        Layout.leftMargin: 16
        Layout.rightMargin: 16
        header: Text {
            textFormat: Text.PlainText
            text: "Links"
            color: Theme.primaryText
            font.pixelSize: Theme.headline
            font.weight: Font.DemiBold
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        AbstractButton {
            id: websiteLink
            Layout.fillWidth: true
            Layout.topMargin: 8
            Layout.bottomMargin: 8
            implicitHeight: linkRow.implicitHeight
            text: About.websiteHost
            Accessible.name: "Website " + About.websiteHost
            HoverHandler { cursorShape: Qt.PointingHandCursor }
            contentItem: RowLayout {
                id: linkRow
                spacing: 10
                Item { implicitWidth: 20; implicitHeight: 14; Symbol { anchors.centerIn: parent; name: "globe"; color: Theme.accent; size: 14 } }
                Text { textFormat: Text.PlainText; text: websiteLink.text; color: Theme.accent; font.pixelSize: Theme.subheadline; font.weight: Font.Medium }
                Item { Layout.fillWidth: true }
                Symbol { name: "arrow.up.right"; color: Theme.secondaryText; size: 12 }
            }
            background: Item {
                FocusRing { radius: 4 }
            }
            onClicked: About.openWebsite()
        }
    }

    FormSection {
        Layout.leftMargin: 16
        Layout.rightMargin: 16
        header: Text {
            textFormat: Text.PlainText
            text: "Credits"
            color: Theme.primaryText
            font.pixelSize: Theme.headline
            font.weight: Font.DemiBold
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
        Repeater {
            model: About.credits
            delegate: RowLayout {
                required property var modelData
                Layout.fillWidth: true
                spacing: 8
                Text { textFormat: Text.PlainText; text: modelData.name; color: Theme.primaryText; font.pixelSize: Theme.subheadline; font.weight: Font.Medium }
                Text {
                    textFormat: Text.PlainText
                    text: modelData.role
                    color: Theme.secondaryText
                    font.pixelSize: Theme.caption
                    elide: Text.ElideRight
                    Layout.fillWidth: true
                }
                Text { textFormat: Text.PlainText; text: modelData.licence; color: Theme.secondaryText; font.pixelSize: Theme.caption }
            }
        }
    }
    Item { implicitHeight: 16 }
}
