#include "app/AppDelegate.h"

#include "app/KeyboardShortcutsManager.h"
#include "app/LogText.h"
#include "app/SmartPaste.h"
#include "model/MenuItemManager.h"
#include "platform/AccessibilityTrust.h"
#include "platform/Application.h"
#include "platform/Clipboard.h"
#include "platform/KeyEventPoster.h"
#include "support/AppLogger.h"
#include "support/DelegateLogWriter.h"

#include <algorithm>
#include <source_location>

namespace driftmark {

namespace {

constexpr double flashDuration = 0.1;
constexpr double flashAlpha = 0.5;

std::string nameOrNil(const std::optional<RunningApplication>& app) {
    return app && app->localizedName ? *app->localizedName : "nil";
}

} // namespace

std::shared_ptr<AppDelegate> AppDelegate::create(MenuItemManager& menuItemManager, AppLogger& appLogger,
                                                 DelegateLogWriter& logWriter,
                                                 const PlatformServices& services,
                                                 KeyboardShortcutsManagerProvider keyboardShortcutsManager) {
    auto delegate = std::shared_ptr<AppDelegate>(new AppDelegate(
        menuItemManager, appLogger, logWriter, services, std::move(keyboardShortcutsManager)));
    delegate->smartPaste_ = SmartPaste::create(services, appLogger, logWriter,
                                               [weak = delegate->weak_from_this()](const MenuBarItem& item) {
                                                   if (const auto self = weak.lock()) {
                                                       self->showNotification(item);
                                                   }
                                               });
    return delegate;
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

    services_.application.setAccessoryActivationPolicy();
    checkAccessibilityPermissions();
    setupKeyboardShortcuts();
}

// Subscribed only once the manager exists.
void AppDelegate::menuItemsChanged(const std::vector<MenuBarItem>& items) {
    // The store announces every change and every renumbering after it; most are the list already
    // handled, which has nothing left to do.
    if (handledItems_ == items) {
        return;
    }
    handledItems_ = items;
    menuBarManager_->updateMenuBarItems(items);
    refreshShortcuts(items);
    // Typing gets ready before the first paste: a keyboard new to a Wayland seat would lose its first key.
    if (std::any_of(items.begin(), items.end(),
                    [](const MenuBarItem& item) { return item.usesSmartPaste; })) {
        services_.keyEventPoster.prepare();
    }
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
    noticeWindowFailure("settings window", windows_.openSettings());
}

void AppDelegate::openAbout() {
    noticeWindowFailure("about window", windows_.openAbout());
}

AppWindows::Failure AppDelegate::openSettingsWindow() {
    return windowFailure("settings window", windows_.openSettings());
}

AppWindows::Failure AppDelegate::windowFailure(const std::string& window, const AppWindows::Failure& reason) {
    if (!reason) {
        return std::nullopt;
    }
    std::string line = "cannot open the " + window + ": " + *reason;
    logger_.error(line);
    logWriter_.logToFile("ERROR: " + line);
    return line;
}

void AppDelegate::noticeWindowFailure(const std::string& window, const AppWindows::Failure& reason) {
    if (windowFailure(window, reason)) {
        services_.windows.showUnavailableNotice("Driftmark cannot open its " + window + ".", *reason);
    }
}

void AppDelegate::applicationWillTerminate() {
    smartPaste_->finishAtQuit();
}

void AppDelegate::menuBarItemLeftClicked(const MenuBarItem& item,
                                         const std::optional<RunningApplication>& previousApp) {
    logger_.info("Menu bar left click for item: " + item.title);
    logger_.info("Previous app is: " + nameOrNil(previousApp));
    logWriter_.logToFile("Menu bar clicked for '" + item.title +
                         "'! Previous app: " + nameOrNil(previousApp));
    copyTextToClipboard(item, item.usesSmartPaste, previousApp);
}

void AppDelegate::copyToClipboard(const MenuBarItem& item, bool smartPaste) {
    logger_.info("Copy to clipboard for item: " + item.title + ", smartPaste: " + boolText(smartPaste));
    logWriter_.logToFile("Copy to clipboard for '" + item.title + "', smartPaste: " + boolText(smartPaste));
    // The menu has no remembered application to give: the paste goes to whatever is frontmost then.
    copyTextToClipboard(item, smartPaste, std::nullopt);
}

void AppDelegate::copyTextToClipboard(const MenuBarItem& item, bool smartPaste,
                                      const std::optional<RunningApplication>& previousApp) {
    Clipboard& clipboard = services_.clipboard;
    const std::string request =
        "copyTextToClipboard called for item: '" + item.title + "', smartPaste: " + boolText(smartPaste);
    logger_.debug(request);
    logWriter_.logToFile(request);

    if (smartPaste && item.usesSmartPaste) {
        const bool trusted = services_.accessibilityTrust.isTrusted();
        logWriter_.logPermissionsIfChanged(trusted, "Smart Paste requested");
        if (trusted) {
            smartPaste_->start(item, previousApp);
            return;
        }
        logger_.error("Smart Paste enabled but no accessibility permissions - falling back to regular copy");
        logWriter_.logToFile(
            "WARNING: Smart Paste enabled but no accessibility permissions - falling back to regular copy");
    }

    clipboard.clearContents();
    clipboard.setString(item.text);
    smartPaste_->clipboardReplaced();
    showNotification(item);
}

void AppDelegate::showNotification(const MenuBarItem& item) {
    StatusItem* statusItem = this->statusItem(item.id());
    if (statusItem == nullptr) {
        return;
    }
    statusItem->animateAlphaValue(flashAlpha, flashDuration, [weak = weak_from_this(), id = item.id()] {
        const auto self = weak.lock();
        StatusItem* current = self ? self->statusItem(id) : nullptr;
        if (current != nullptr) {
            current->animateAlphaValue(1.0, flashDuration, [] {});
        }
    });
}

StatusItem* AppDelegate::statusItem(const Uuid& id) const {
    if (!menuBarManager_) {
        return nullptr;
    }
    const auto& statusItems = menuBarManager_->statusItems();
    const auto found = statusItems.find(id);
    return found == statusItems.end() ? nullptr : found->second.get();
}

void AppDelegate::setupKeyboardShortcuts() {
    logShortcutSetup("Setting up keyboard shortcuts...");
    keyboardShortcutsManager_ = &keyboardShortcutsManagerProvider_();
    menuBarManager_->setShortcuts(keyboardShortcutsManager_->shortcuts());
    for (const auto& item : menuItemManager_.items()) {
        keyboardShortcutsManager_->registerShortcut(item, itemAction(item.id()));
    }
    // The older single shortcut acts on whichever entry is first when it is pressed.
    keyboardShortcutsManager_->copyTextAction = [weak = weak_from_this()] {
        const auto self = weak.lock();
        if (!self || self->menuItemManager_.items().empty()) {
            return;
        }
        const MenuBarItem first = self->menuItemManager_.items().front();
        self->copyTextToClipboard(first, first.usesSmartPaste, std::nullopt);
    };
    logShortcutSetup("Keyboard shortcuts manager initialized with " +
                     std::to_string(menuItemManager_.items().size()) + " items");
}

// Runs after the status items have been reconciled with the same list.
void AppDelegate::refreshShortcuts(const std::vector<MenuBarItem>& items) {
    if (keyboardShortcutsManager_ == nullptr) {
        return;
    }
    keyboardShortcutsManager_->updateShortcuts(items);
    // An entry's action reads the entry when it runs, so a registered entry stays as it is, whatever
    // changed in it.
    for (const auto& item : items) {
        if (!keyboardShortcutsManager_->isRegistered(item.id())) {
            keyboardShortcutsManager_->registerShortcut(item, itemAction(item.id()));
        }
    }
}

std::function<void()> AppDelegate::itemAction(const Uuid& id) {
    return [weak = weak_from_this(), id] {
        const auto self = weak.lock();
        if (!self) {
            return;
        }
        const auto& items = self->menuItemManager_.items();
        const auto found = std::find_if(items.begin(), items.end(),
                                        [&id](const MenuBarItem& item) { return item.id() == id; });
        if (found != items.end()) {
            // A copy: the copy may change the list.
            const MenuBarItem item = *found;
            self->copyTextToClipboard(item, item.usesSmartPaste, std::nullopt);
        }
    };
}

void AppDelegate::logShortcutSetup(const std::string& message) {
    logWriter_.logToFile(message);
    const auto site = std::source_location::current();
    appLogger_.log(message, AppLogger::LogLevel::info, site.file_name(), "setupKeyboardShortcuts()",
                   site.line());
}

} // namespace driftmark
