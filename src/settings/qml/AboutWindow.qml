import QtQuick
import Driftmark

AppWindow {
    color: content.color
    onVisibleChanged: if (visible) About.aboutWindowShown()

    AboutView {
        id: content
        anchors.fill: parent
        radius: 0
    }
}
