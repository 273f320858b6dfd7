import QtQuick
import QtQuick.Controls
import Driftmark

// A round colour swatch with a check mark when it is the chosen colour.
AbstractButton {
    id: option

    property color color
    property bool isSelected: false
    property string colorName
    // The user chose this colour, by pointer, keyboard or a screen reader's action.
    signal chosen()

    implicitWidth: 30
    implicitHeight: 30
    // A swatch is one of a group of choices: checked while its colour is the chosen one. A click must not
    // toggle it by itself; the chosen colour decides.
    checkable: true
    checked: isSelected
    onCheckedChanged: {
        if (checked === isSelected)
            return;
        if (checked)
            chosen();
        checked = Qt.binding(() => isSelected);
    }
    Accessible.name: colorName

    contentItem: Item {
        Rectangle {
            anchors.fill: parent
            radius: width / 2
            color: option.color
            border.color: Theme.separator
            border.width: option.isSelected ? 2 : 0.5
        }
        Symbol {
            anchors.centerIn: parent
            name: "checkmark"
            color: "white"
            size: 12
            opacity: option.isSelected ? 1 : 0
        }
    }
    background: Item {
        FocusRing { radius: width / 2 }
    }
}
