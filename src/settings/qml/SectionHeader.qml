import QtQuick
import QtQuick.Layouts

// A section's heading: its symbol in the accent colour, then its title.
RowLayout {
    property string icon
    property string title

    Theme { id: theme }

    spacing: 8
    Accessible.role: Accessible.Heading
    Accessible.name: title

    Symbol { name: icon; color: theme.accent; size: theme.caption + 1; Layout.alignment: Qt.AlignVCenter }
    Text {
        text: title
        color: theme.primaryText
        font.pixelSize: theme.subheadline
        font.weight: Font.DemiBold
        Layout.alignment: Qt.AlignVCenter
    }
}
