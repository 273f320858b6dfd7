#include "platform/linux/tray/X11StatusBar.h"

#include "platform/linux/tray/TrayDock.h"
#include "platform/linux/tray/X11StatusItem.h"
#include "platform/linux/x11/X11PointerMonitor.h"

namespace driftmark {

X11StatusBar::X11StatusBar(X11PointerMonitor& pointerMonitor)
    : dock_(std::make_shared<TrayDock>([&pointerMonitor] { pointerMonitor.pointerMoved(); })) {}

X11StatusBar::~X11StatusBar() = default;

std::unique_ptr<StatusItem> X11StatusBar::statusItem() {
    return std::make_unique<X11StatusItem>(dock_);
}

void X11StatusBar::removeStatusItem(StatusItem& item) {
    if (auto* trayItem = dynamic_cast<X11StatusItem*>(&item)) {
        trayItem->remove();
    }
}

} // namespace driftmark
