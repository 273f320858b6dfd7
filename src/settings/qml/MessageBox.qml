import QtQuick
import QtQuick.Layouts
import Driftmark

// A tinted note with a symbol: the common shape of the info, warning and success boxes.
Rectangle {
    id: box

    property string text
    property string symbol
    property color tint

    Layout.fillWidth: true
    implicitHeight: row.implicitHeight + 20
    radius: 8
    border.width: 1
    border.color: Theme.withOpacity(tint, 0.2)
    gradient: Gradient {
        orientation: Gradient.Vertical
        GradientStop { position: 0; color: Theme.withOpacity(box.tint, 0.12) }
        GradientStop { position: 1; color: Theme.withOpacity(box.tint, 0.08) }
    }
    Accessible.role: Accessible.StaticText
    Accessible.name: text

    RowLayout {
        id: row
        anchors.fill: parent
        anchors.margins: 10
        spacing: 8
        Symbol { name: box.symbol; color: box.tint; size: 14; Layout.alignment: Qt.AlignVCenter }
        Text {
            textFormat: Text.PlainText
            text: box.text
            color: Theme.secondaryText
            font.pixelSize: Theme.caption
            wrapMode: Text.Wrap
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignVCenter
        }
    }
}
