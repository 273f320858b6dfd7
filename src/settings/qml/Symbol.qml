import QtQuick
import QtQuick.Layouts

// A symbol such as "gear", drawn in one colour at a square size.
Image {
    id: symbol

    property string name
    property color color: "black"
    property int size: 14

    function hex(component) {
        const text = Math.round(component * 255).toString(16);
        return text.length < 2 ? "0" + text : text;
    }

    width: size
    height: size
    // Layouts size by the implicit size, which an image takes from its (doubled) source size.
    Layout.preferredWidth: size
    Layout.preferredHeight: size
    sourceSize: Qt.size(size * 2, size * 2)
    fillMode: Image.PreserveAspectFit
    smooth: true
    opacity: color.a
    source: name.length > 0 ? "image://symbol/" + name + "/" + hex(color.r) + hex(color.g) + hex(color.b) : ""
    Accessible.ignored: true
}
