import QtQuick
import QtQuick.Layouts
import Driftmark

// One group of a grouped form: an optional header above a rounded panel holding the rows.
ColumnLayout {
    id: section

    property alias header: headerSlot.data
    default property alias rows: content.data

    spacing: 6
    Layout.fillWidth: true

    Item {
        id: headerSlot
        visible: children.length > 0
        implicitHeight: childrenRect.height
        Layout.fillWidth: true
        Layout.leftMargin: 4
    }
    Rectangle {
        Layout.fillWidth: true
        implicitHeight: content.implicitHeight + 24
        radius: 8
        color: Theme.cardBackground
        border.width: 1
        border.color: Theme.separator
        ColumnLayout {
            id: content
            anchors.fill: parent
            anchors.margins: 12
            spacing: 12
        }
    }
}
