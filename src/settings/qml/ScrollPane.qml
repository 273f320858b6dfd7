import QtQuick
import QtQuick.Controls

// A pane that scrolls when the window is lower than its content, and scrolls a control reached with
// the keyboard into view.
ScrollView {
    id: scroller

    ScrollBar.vertical.policy: ScrollBar.AsNeeded
    ScrollBar.horizontal.policy: ScrollBar.AlwaysOff
    contentWidth: availableWidth
    // The content is as high as what it holds: left to itself the view finds no height when the width
    // is given, and would not scroll.
    contentHeight: contentItem && contentItem.contentItem ? contentItem.contentItem.childrenRect.height : 0

    function reveal(item) {
        const flickable = scroller.contentItem;
        if (!item || !flickable || !flickable.contentItem)
            return;
        let ancestor = item.parent;
        while (ancestor && ancestor !== flickable.contentItem)
            ancestor = ancestor.parent;
        if (!ancestor)
            return;
        const margin = 12;
        const area = item.mapToItem(flickable.contentItem, 0, 0, item.width, item.height);
        const bottom = Math.max(0, scroller.contentHeight - flickable.height);
        if (area.y - margin < flickable.contentY)
            flickable.contentY = Math.max(0, area.y - margin);
        else if (area.y + area.height + margin > flickable.contentY + flickable.height)
            flickable.contentY = Math.min(bottom, area.y + area.height + margin - flickable.height);
    }

    Connections {
        target: scroller.Window.window
        function onActiveFocusItemChanged() { scroller.reveal(scroller.Window.activeFocusItem); }
    }
}
