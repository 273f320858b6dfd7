import QtQuick
import QtQuick.Layouts
import Driftmark

// A section's heading: its symbol in the accent colour, then its title.
RowLayout {
    property string icon
    property string title

    spacing: 8
    Accessible.role: Accessible.Heading
    Accessible.name: title

    Symbol { name: icon; color: Theme.accent; size: Theme.caption + 1; Layout.alignment: Qt.AlignVCenter }
    Text {
        textFormat: Text.PlainText
        text: title
        color: Theme.primaryText
        font.pixelSize: Theme.subheadline
        font.weight: Font.DemiBold
        Layout.alignment: Qt.AlignVCenter
    }
}
