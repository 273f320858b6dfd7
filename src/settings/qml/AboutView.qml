import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Driftmark

// The about window's content.
Rectangle {
    id: view

    property bool isHovered: false

    color: Theme.windowBackground
    radius: 10
    implicitWidth: 380
    implicitHeight: 380

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: 200
            gradient: Gradient {
                GradientStop { position: 0; color: Qt.hsla(0, 0, 0.95, 1) }
                GradientStop { position: 1; color: Qt.hsla(0, 0, 0.92, 1) }
            }
            ColumnLayout {
                anchors.centerIn: parent
                spacing: 20
                Image {
                    source: "qrc:/driftmark/settings/AboutIcon.svg"
                    sourceSize: Qt.size(160, 160)
                    Layout.preferredWidth: 80
                    Layout.preferredHeight: 80
                    Layout.alignment: Qt.AlignHCenter
                    Accessible.role: Accessible.Graphic
                    Accessible.name: "Driftmark icon"
                }
                Text {
                    textFormat: Text.PlainText
                    text: About.appName
                    color: "#1d1d1f"
                    font.pixelSize: 20
                    font.weight: Font.DemiBold
                    Layout.alignment: Qt.AlignHCenter
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
                Text {
                    textFormat: Text.PlainText
                    text: "Version " + About.appVersion
                    color: "#6e6e73"
                    font.pixelSize: 13
                    Layout.alignment: Qt.AlignHCenter
                    Accessible.role: Accessible.StaticText
                    Accessible.name: text
                }
            }
        }
        Rectangle { Layout.fillWidth: true; implicitHeight: 1; color: Theme.separator }

        ColumnLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.margins: 14
            spacing: 10
            Text {
                textFormat: Text.PlainText
                text: "Click the menu bar icon to copy your custom text to clipboard"
                color: Theme.secondaryText
                font.pixelSize: 12
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                Layout.fillWidth: true
                Layout.leftMargin: 10
                Layout.rightMargin: 10
            }
            ColumnLayout {
                spacing: 2
                Layout.fillWidth: true
                Text {
                    textFormat: Text.PlainText
                    text: "App Path:"
                    color: Theme.tertiaryText
                    font.pixelSize: 10
                    font.weight: Font.Medium
                    Layout.alignment: Qt.AlignHCenter
                }
                TextEdit {
                    text: About.appPath
                    readOnly: true
                    selectByMouse: true
                    color: Theme.tertiaryText
                    font.pixelSize: 9
                    font.family: "monospace"
                    wrapMode: TextEdit.WrapAnywhere
                    horizontalAlignment: TextEdit.AlignHCenter
                    Layout.fillWidth: true
                    Layout.leftMargin: 10
                    Layout.rightMargin: 10
                    Layout.maximumHeight: 2 * contentHeight / Math.max(1, lineCount)
                    clip: true
                    Accessible.role: Accessible.StaticText
                    Accessible.name: "App Path: " + text
                }
            }
            AbstractButton {
                id: link
                Layout.alignment: Qt.AlignHCenter
                implicitWidth: linkRow.implicitWidth
                implicitHeight: linkRow.implicitHeight
                text: About.websiteHost
                Accessible.name: "Website " + About.websiteHost
                HoverHandler {
                    cursorShape: Qt.PointingHandCursor
                    onHoveredChanged: view.isHovered = hovered
                }
                contentItem: RowLayout {
                    id: linkRow
                    spacing: 6
                    Symbol { name: "globe"; size: 11; color: view.isHovered ? Theme.accent : Theme.secondaryText }
                    Text { textFormat: Text.PlainText; text: link.text; font.pixelSize: 11; color: view.isHovered ? Theme.accent : Theme.secondaryText }
                }
                background: Item {
                    FocusRing { radius: 4 }
                }
                onClicked: About.openWebsite()
            }
            Item { Layout.fillHeight: true }
        }
    }
}
