import QtQuick
import QtQuick.Window
import Driftmark

Window {
    visible: false
    color: content.color
    onVisibleChanged: if (visible) Settings.windowShown()

    SettingsView {
        id: content
        anchors.fill: parent
    }
}
