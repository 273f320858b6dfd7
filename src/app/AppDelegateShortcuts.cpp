#include "app/AppDelegate.h"
#include "app/KeyboardShortcutsManager.h"
#include "model/MenuItemManager.h"
#include "support/AppLogger.h"
#include "support/DelegateLogWriter.h"

#include <source_location>

namespace driftmark {

void AppDelegate::setupKeyboardShortcuts() {
    logShortcutSetup("Setting up keyboard shortcuts...");
    keyboardShortcutsManager_ = &keyboardShortcutsManagerProvider_();
    menuBarManager_->setShortcuts(keyboardShortcutsManager_->shortcuts());
    for (const auto& item : menuItemManager_.items()) {
        keyboardShortcutsManager_->registerShortcut(item, itemAction(item));
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
    for (const auto& item : items) {
        keyboardShortcutsManager_->registerShortcut(item, itemAction(item));
    }
}

std::function<void()> AppDelegate::itemAction(const MenuBarItem& item) {
    return [weak = weak_from_this(), item] {
        if (const auto self = weak.lock()) {
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
