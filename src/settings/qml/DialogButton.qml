import QtQuick
import QtQuick.Controls

// A button of a dialog or sheet: Return and Enter press it when it has the focus, as Space does.
Button {
    id: button

    Accessible.name: text
    Keys.onReturnPressed: button.clicked()
    Keys.onEnterPressed: button.clicked()
}
