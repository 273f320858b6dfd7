import QtQuick
import QtQuick.Controls

// A borderless button that is only a symbol; its accessible name says what it does.
AbstractButton {
    id: button

    property string symbol
    property color color
    property int size: 14

    implicitWidth: size + 8
    implicitHeight: size + 8
    hoverEnabled: true
    Accessible.role: Accessible.Button
    ToolTip.visible: hovered && ToolTip.text.length > 0
    ToolTip.delay: 500

    contentItem: Item {
        Symbol {
            anchors.centerIn: parent
            name: button.symbol
            size: button.size
            color: button.color
            opacity: button.enabled ? button.color.a : button.color.a * 0.35
        }
    }
    background: Item {
        FocusRing { radius: width / 2 }
    }
}
