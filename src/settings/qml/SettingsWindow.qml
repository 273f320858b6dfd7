import QtQuick
import Driftmark

AppWindow {
    color: content.color
    onVisibleChanged: if (visible) Settings.windowShown()

    SettingsView {
        id: content
        anchors.fill: parent
    }
}
