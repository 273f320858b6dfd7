#include "app/AppDelegate.h"

#include "app/LogText.h"
#include "model/MenuItemManager.h"
#include "platform/AccessibilityTrust.h"
#include "platform/Application.h"
#include "support/DelegateLogWriter.h"

#include <algorithm>

namespace driftmark {

std::shared_ptr<AppDelegate> AppDelegate::create(MenuItemManager& menuItemManager, AppLogger& appLogger,
                                                 DelegateLogWriter& logWriter,
                                                 const PlatformServices& services,
                                                 KeyboardShortcutsManagerProvider keyboardShortcutsManager) {
    return std::shared_ptr<AppDelegate>(new AppDelegate(menuItemManager, appLogger, logWriter, services,
                                                        std::move(keyboardShortcutsManager)));
}

AppDelegate::AppDelegate(MenuItemManager& menuItemManager, AppLogger& appLogger, DelegateLogWriter& logWriter,
                         const PlatformServices& services,
                         KeyboardShortcutsManagerProvider keyboardShortcutsManager)
    : logger_(services.systemLog, "AppDelegate")
    , menuItemManager_(menuItemManager)
    , appLogger_(appLogger)
    , logWriter_(logWriter)
    , services_(services)
    , keyboardShortcutsManagerProvider_(std::move(keyboardShortcutsManager))
    , windows_(services.windows, services.userDefaults) {}

void AppDelegate::applicationDidFinishLaunching() {
    logger_.info("🚀 Driftmark starting up...");
    services_.systemLog.basic("🚀 Driftmark starting up via NSLog...");
    logWriter_.logToFile("🚀 Driftmark starting up...");
    logWriter_.logToFile("Log file location: " + logWriter_.logFileURL().string());

    menuBarManager_ = std::make_unique<MenuBarManager>(menuItemManager_, services_);
    menuBarManager_->setDelegate(weak_from_this());

    // The store hands over the current list at once, which builds the status items.
    cancellables_.push_back(menuItemManager_.subscribe([weak = weak_from_this()](const auto& items) {
        if (const auto self = weak.lock()) {
            self->menuItemsChanged(items);
        }
    }));
    menuBarManager_->updateMenuBarItems(menuItemManager_.items());

    services_.application.setAccessoryActivationPolicy();
    checkAccessibilityPermissions();
    setupKeyboardShortcuts();
}

// Subscribed only once the manager exists.
void AppDelegate::menuItemsChanged(const std::vector<MenuBarItem>& items) {
    menuBarManager_->updateMenuBarItems(items);
    refreshShortcuts(items);
}

void AppDelegate::checkAccessibilityPermissions() {
    const bool trusted = services_.accessibilityTrust.isTrusted();
    logger_.info("Bundle ID: " + services_.application.bundleIdentifier().value_or("unknown"));
    logger_.info("Executable: " + services_.application.processName());
    logWriter_.logPermissionsIfChanged(trusted, "App startup");

    const auto& items = menuItemManager_.items();
    const bool anySmartPaste =
        std::any_of(items.begin(), items.end(), [](const MenuBarItem& item) { return item.usesSmartPaste; });
    if (!anySmartPaste || trusted) {
        return;
    }
    logger_.error("App needs Accessibility permissions for Smart Paste to work!");
    const bool prompted = services_.accessibilityTrust.isTrustedWithPrompt();
    logger_.info(std::string("Prompted for accessibility: ") + boolText(prompted));
}

// The settings window opens with whatever its view had selected; the item only names the request.
void AppDelegate::editMenuItem(const MenuBarItem& item) {
    logger_.info("Edit menu item: " + item.title);
    openSettings();
}

void AppDelegate::openSettings() {
    windows_.openSettings();
}

void AppDelegate::openAbout() {
    windows_.openAbout();
}

} // namespace driftmark
