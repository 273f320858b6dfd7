#include "app/MenuBarManager.h"
#include "model/MenuItemManager.h"
#include "platform/AccessibilityTrust.h"

namespace driftmark {

void MenuBarManager::setupEventMonitor(const Uuid& id) {
    // The platform keeps the handler for as long as the monitor exists, which may outlast this manager.
    const auto handle = services_.pointerMonitor.addGlobalMouseMovedMonitor(
        liveness_.guard([this, id] { pointerMoved(id); }));
    if (handle) {
        eventMonitors_[id] = *handle;
    }
}

void MenuBarManager::pointerMoved(const Uuid& id) {
    const auto statusItem = statusItems_.find(id);
    if (statusItem == statusItems_.end()) {
        return;
    }
    const StatusBarButton* button = statusItem->second->button();
    if (button == nullptr) {
        return;
    }
    const std::optional<Rect> frame = button->screenFrame();
    if (!frame || !frame->contains(services_.pointerMonitor.mouseLocation())) {
        return;
    }
    std::optional<RunningApplication> frontmost = services_.workspace.frontmostApplication();
    if (!frontmost) {
        return;
    }
    // Our own windows (the settings window, say) are never a paste target.
    if (frontmost->bundleIdentifier == services_.workspace.ownBundleIdentifier()) {
        return;
    }
    previousApps_[id] = std::move(*frontmost);
    updateTooltip(id);
}

void MenuBarManager::updateTooltip(const Uuid& id) {
    const auto statusItem = statusItems_.find(id);
    if (statusItem == statusItems_.end()) {
        return;
    }
    StatusBarButton* button = statusItem->second->button();
    if (button == nullptr) {
        return;
    }
    const std::optional<MenuBarItem> item = storedItem(id);
    if (!item) {
        return;
    }
    std::string text = item->title;
    if (item->usesSmartPaste) {
        if (const auto app = previousApp(id)) {
            text += "\nPaste to: " + app->localizedName.value_or("Unknown");
        }
        text += services_.accessibilityTrust.isTrusted() ? "\n✓" : "\n⚠️ Permissions needed";
    }
    button->setToolTip(text);
}

} // namespace driftmark
