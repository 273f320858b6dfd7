import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Driftmark

// A selectable sidebar row: a symbol or a colour dot, then a title, on the accent colour when selected.
AbstractButton {
    id: row

    property string symbol
    // Shown instead of the symbol when set (an entry's colour).
    property color dotColor: "transparent"
    property bool selected: false

    Layout.fillWidth: true
    implicitHeight: content.implicitHeight + 16
    hoverEnabled: true
    Accessible.name: text
    Accessible.selectable: true
    Accessible.selected: selected

    background: Rectangle {
        radius: 8
        color: row.selected ? Theme.accent : row.hovered ? Theme.withOpacity(Theme.primaryText, 0.06) : "transparent"
        FocusRing { onAccent: row.selected }
    }
    contentItem: RowLayout {
        id: content
        anchors.fill: parent
        anchors.leftMargin: 12
        anchors.rightMargin: 12
        spacing: row.symbol.length > 0 ? 12 : 8
        Item {
            visible: row.symbol.length > 0
            implicitWidth: 20
            implicitHeight: 14
            Symbol {
                anchors.centerIn: parent
                name: row.symbol
                size: 14
                color: row.selected ? "white" : Theme.secondaryText
            }
        }
        Rectangle {
            visible: row.symbol.length === 0
            implicitWidth: 12
            implicitHeight: 12
            radius: 6
            color: row.dotColor
        }
        Text {
            textFormat: Text.PlainText
            text: row.text
            elide: Text.ElideRight
            maximumLineCount: 1
            font.pixelSize: 13
            font.weight: row.selected ? Font.Medium : Font.Normal
            color: row.selected ? "white" : Theme.primaryText
            Layout.fillWidth: true
        }
    }
}
