#pragma once

#include "app/LivenessToken.h"
#include "app/MenuBarManagerDelegate.h"
#include "model/MenuBarItem.h"
#include "model/Uuid.h"
#include "platform/PlatformServices.h"
#include "platform/PointerMonitor.h"
#include "platform/StatusBar.h"
#include "platform/SystemLog.h"
#include "platform/Workspace.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace driftmark {

class MenuItemManager;

namespace KeyboardShortcuts {
class Module;
}

// Keeps one status item per entry, draws its disc and tooltip, remembers which other application was
// frontmost when the pointer last crossed it, and turns clicks into requests to the delegate. Reads
// the entries from the store at the moment of a click or a tooltip update. Main thread only.
class MenuBarManager {
public:
    using StatusItems = std::map<Uuid, std::unique_ptr<StatusItem>>;
    using EventMonitors = std::map<Uuid, PointerMonitor::Handle>;
    using PreviousApps = std::map<Uuid, RunningApplication>;

    MenuBarManager(const MenuItemManager& menuItemManager, const PlatformServices& services);
    MenuBarManager(const MenuBarManager&) = delete;
    MenuBarManager& operator=(const MenuBarManager&) = delete;

    // Held without owning it; requests made after the delegate is gone are dropped.
    void setDelegate(std::weak_ptr<MenuBarManagerDelegate> delegate) { delegate_ = std::move(delegate); }
    // Context menus opened from now on show their item's own shortcut, as the module has it. The module
    // must outlive the menus.
    void setShortcuts(KeyboardShortcuts::Module& shortcuts) { shortcuts_ = &shortcuts; }

    // Removes the status items of vanished entries, refreshes the others in place and creates the
    // missing ones in ascending `order`.
    void updateMenuBarItems(const std::vector<MenuBarItem>& items);

    const StatusItems& statusItems() const { return statusItems_; }
    const EventMonitors& eventMonitors() const { return eventMonitors_; }
    const PreviousApps& previousApps() const { return previousApps_; }

    static DiscIcon createIcon(const MenuBarItem& item);
    // Stable for the run of the process, not across runs.
    static std::int64_t tag(const Uuid& id);
    static std::string autosaveName(const Uuid& id);

private:
    void createStatusItem(const MenuBarItem& item);
    void removeStatusItem(const Uuid& id);

    void setupEventMonitor(const Uuid& id);
    void pointerMoved(const Uuid& id);
    void updateTooltip(const Uuid& id);

    void statusItemClicked(StatusBarButton& button, MouseEventType type);
    void showContextMenu(const MenuBarItem& item, StatusBarButton& button);
    ShownKeyEquivalent itemShortcut(const Uuid& id) const;
    void copyMenuItemClicked(const MenuBarItem& item);
    void pasteMenuItemClicked(const MenuBarItem& item);
    void editMenuItemClicked(const MenuBarItem& item);
    void openSettingsClicked();
    void openAboutClicked();

    std::optional<MenuBarItem> storedItem(const Uuid& id) const;
    std::optional<RunningApplication> previousApp(const Uuid& id) const;

    CategoryLog logger_;
    StatusItems statusItems_;
    EventMonitors eventMonitors_;
    PreviousApps previousApps_;
    std::weak_ptr<MenuBarManagerDelegate> delegate_;
    const MenuItemManager& menuItemManager_;
    PlatformServices services_;
    // Absent until shortcuts are set up; menus then show no shortcut of their item.
    KeyboardShortcuts::Module* shortcuts_ = nullptr;
    LivenessToken liveness_;
};

} // namespace driftmark
