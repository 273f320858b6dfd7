import QtQuick
import QtQuick.Window
import Driftmark

Window {
    visible: false
    color: content.color
    onVisibleChanged: if (visible) About.aboutWindowShown()

    AboutView {
        id: content
        anchors.fill: parent
        radius: 0
    }
}
