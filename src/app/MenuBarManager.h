#pragma once

#include "app/LivenessToken.h"
#include "app/MenuBarManagerDelegate.h"
#include "model/MenuBarItem.h"
#include "model/Uuid.h"
#include "platform/PlatformServices.h"
#include "platform/StatusBar.h"
#include "platform/SystemLog.h"
#include "platform/Workspace.h"

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

// Keeps one status item per entry, draws its disc and tooltip, remembers for each item the application
// the user was working in when they last reached for it, and turns clicks into requests to the delegate.
// Reads the entries from the store at the moment of a click or a tooltip update. Main thread only.
class MenuBarManager {
public:
    using StatusItems = std::map<Uuid, std::unique_ptr<StatusItem>>;
    using PreviousApps = std::map<Uuid, RunningApplication>;

    MenuBarManager(const MenuItemManager& menuItemManager, const PlatformServices& services);
    MenuBarManager(const MenuBarManager&) = delete;
    MenuBarManager& operator=(const MenuBarManager&) = delete;

    // Held without owning it; requests made after the delegate is gone are dropped.
    void setDelegate(std::weak_ptr<MenuBarManagerDelegate> delegate) { delegate_ = std::move(delegate); }
    // Context menus opened from now on show their item's own shortcut, as the module has it. The module
    // must outlive the menus.
    void setShortcuts(KeyboardShortcuts::Module& shortcuts) { shortcuts_ = &shortcuts; }

    // Removes the status items of vanished entries, redraws those whose disc or title changed in place
    // and creates the missing ones in ascending `order`. An entry shown as it is is left alone, and the
    // tray is asked to arrange the items only when their order changed.
    void updateMenuBarItems(const std::vector<MenuBarItem>& items);

    const StatusItems& statusItems() const { return statusItems_; }
    const PreviousApps& previousApps() const { return previousApps_; }

    static DiscIcon createIcon(const MenuBarItem& item);
    static std::string autosaveName(const Uuid& id);
    // What a StatusNotifierItem host remembers the item by.
    static std::string hostId(const Uuid& id);

private:
    void createStatusItem(const MenuBarItem& item);
    void removeStatusItem(const Uuid& id);

    // The user reaches for the item (the pointer comes onto it, or it is clicked where the tray tells
    // nothing of the pointer): the application they were working in becomes its paste target.
    void rememberPreviousApp(const Uuid& id);
    void updateTooltip(const Uuid& id);

    void statusItemActivated(const Uuid& id);
    std::optional<Menu> contextMenuRequested(const Uuid& id);
    // The menu without a request: for trays that fetch it ahead.
    std::optional<Menu> currentMenu(const Uuid& id);
    Menu contextMenu(const MenuBarItem& item);
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
    // Each status item's entry as last drawn, and the items' order as the tray last had it.
    std::map<Uuid, MenuBarItem> shownItems_;
    std::vector<Uuid> arrangement_;
    PreviousApps previousApps_;
    std::weak_ptr<MenuBarManagerDelegate> delegate_;
    const MenuItemManager& menuItemManager_;
    PlatformServices services_;
    // Absent until shortcuts are set up; menus then show no shortcut of their item.
    KeyboardShortcuts::Module* shortcuts_ = nullptr;
    LivenessToken liveness_;
};

} // namespace driftmark
