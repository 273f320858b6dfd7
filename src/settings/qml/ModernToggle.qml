import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Driftmark

// An on/off switch labelled with a symbol, a title and an optional subtitle.
RowLayout {
    id: toggle

    property string icon
    property string title
    property string subtitle
    property bool isOn
    // The user flipped the switch; the new value is in isOn.
    signal toggled()

    spacing: 10
    opacity: enabled ? 1 : 0.5
    // The user's flip breaks the switch's binding; later changes from outside still reach it.
    onIsOnChanged: control.checked = isOn

    Item {
        implicitWidth: 24
        implicitHeight: 24
        Symbol { anchors.centerIn: parent; name: toggle.icon; color: Theme.accent; size: 16 }
    }
    ColumnLayout {
        spacing: 2
        Layout.fillWidth: true
        Text {
            textFormat: Text.PlainText
            text: toggle.title
            color: Theme.primaryText
            font.pixelSize: Theme.subheadline
            font.weight: Font.Medium
        }
        Text {
            textFormat: Text.PlainText
            visible: toggle.subtitle.length > 0
            text: toggle.subtitle
            color: Theme.secondaryText
            font.pixelSize: Theme.caption
            wrapMode: Text.Wrap
            Layout.fillWidth: true
        }
    }
    Switch {
        id: control
        checked: toggle.isOn
        Accessible.name: toggle.title
        Accessible.description: toggle.subtitle
        FocusRing { control: control }
        // A click, Space, or a screen reader's toggle action: each is the user's flip.
        onCheckedChanged: {
            if (checked === toggle.isOn)
                return;
            toggle.isOn = checked;
            toggle.toggled();
        }
    }
}
