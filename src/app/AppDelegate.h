#pragma once

#include "app/AppWindows.h"
#include "app/MenuBarManager.h"
#include "app/MenuBarManagerDelegate.h"
#include "model/MenuBarItem.h"
#include "model/Subscription.h"
#include "platform/PlatformServices.h"
#include "platform/SystemLog.h"
#include "platform/Workspace.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace driftmark {

class AppLogger;
class DelegateLogWriter;
class KeyboardShortcutsManager;
class MenuItemManager;
class SmartPaste;
class StatusItem;

// The object that lives for the whole run: starts the application up, keeps the status items in step
// with the entry list, and puts entries' texts on the clipboard, by plain copy or by Smart Paste.
// Always owned through a shared pointer, so that delayed work can tell whether it is still there.
// Main thread only.
class AppDelegate final : public MenuBarManagerDelegate, public std::enable_shared_from_this<AppDelegate> {
public:
    // Hands out the shortcut manager when start-up first needs it.
    using KeyboardShortcutsManagerProvider = std::function<KeyboardShortcutsManager&()>;

    static std::shared_ptr<AppDelegate> create(MenuItemManager& menuItemManager, AppLogger& appLogger,
                                               DelegateLogWriter& logWriter, const PlatformServices& services,
                                               KeyboardShortcutsManagerProvider keyboardShortcutsManager);
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    void applicationDidFinishLaunching();
    // Once the event loop has ended, before the application object goes: a Smart Paste in flight puts
    // the user's clipboard back now, so that it is what a clipboard manager takes over at exit.
    void applicationWillTerminate();
    void checkAccessibilityPermissions();

    void menuBarItemLeftClicked(const MenuBarItem& item,
                                const std::optional<RunningApplication>& previousApp) override;
    void copyToClipboard(const MenuBarItem& item, bool smartPaste) override;
    void editMenuItem(const MenuBarItem& item) override;
    // From the menu: a window that cannot be built is logged and explained in a notice.
    void openSettings() override;
    void openAbout() override;
    // For a request from another program, which tells its user itself: a settings window that cannot be
    // built is logged, and the line saying why is given back.
    AppWindows::Failure openSettingsWindow();

    // Smart Paste happens only when both `smartPaste` and the item's own setting ask for it and input
    // may be synthesised; otherwise this is a plain copy. Without `previousApp` the paste goes to
    // whichever application is frontmost at the paste stage.
    void copyTextToClipboard(const MenuBarItem& item, bool smartPaste,
                             const std::optional<RunningApplication>& previousApp);

    // Absent until start-up has run.
    const MenuBarManager* menuBarManager() const { return menuBarManager_.get(); }

private:
    AppDelegate(MenuItemManager& menuItemManager, AppLogger& appLogger, DelegateLogWriter& logWriter,
                const PlatformServices& services, KeyboardShortcutsManagerProvider keyboardShortcutsManager);

    void menuItemsChanged(const std::vector<MenuBarItem>& items);
    void setupKeyboardShortcuts();
    void refreshShortcuts(const std::vector<MenuBarItem>& items);
    // Copies the entry as the store has it when the action runs, by Smart Paste when the entry asks for
    // it, to the frontmost window; nothing once the entry is gone.
    std::function<void()> itemAction(const Uuid& id);
    void logShortcutSetup(const std::string& message);

    // Logs a window that did not open, and gives back the line that says which and why.
    AppWindows::Failure windowFailure(const std::string& window, const AppWindows::Failure& reason);
    void noticeWindowFailure(const std::string& window, const AppWindows::Failure& reason);

    void showNotification(const MenuBarItem& item);
    StatusItem* statusItem(const Uuid& id) const;

    CategoryLog logger_;
    std::unique_ptr<MenuBarManager> menuBarManager_;
    MenuItemManager& menuItemManager_;
    AppLogger& appLogger_;
    DelegateLogWriter& logWriter_;
    PlatformServices services_;
    std::vector<Subscription> cancellables_;
    // The entry list the status items and shortcuts were last brought in step with.
    std::optional<std::vector<MenuBarItem>> handledItems_;
    KeyboardShortcutsManagerProvider keyboardShortcutsManagerProvider_;
    // Absent until start-up has set up the shortcuts.
    KeyboardShortcutsManager* keyboardShortcutsManager_ = nullptr;

    // Made by create(), once this object can be referred to weakly for the flash after each copy.
    std::shared_ptr<SmartPaste> smartPaste_;
    AppWindows windows_;
};

} // namespace driftmark
