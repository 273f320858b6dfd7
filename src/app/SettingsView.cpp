#include "app/SettingsView.h"

#include "KeyboardShortcuts/Module.h"
#include "model/MenuItemManager.h"
#include "platform/Application.h"
#include "platform/MainQueue.h"
#include "platform/PreferencesStore.h"
#include "support/AppLogger.h"
#include "support/LaunchAtLogin.h"

#include <algorithm>

namespace driftmark {

namespace {

constexpr double terminateDelay = 0.5;

} // namespace

SettingsView::SettingsView(Services services)
    : services_(std::move(services)) {}

std::string SettingsView::appVersion() {
    return DRIFTMARK_VERSION;
}

std::optional<MenuBarItem> SettingsView::selectedItem() const {
    if (!selectedSection_.itemId) {
        return std::nullopt;
    }
    const auto& items = services_.menuItemManager.items();
    const auto found = std::find_if(items.begin(), items.end(), [&](const MenuBarItem& item) {
        return item.id() == *selectedSection_.itemId;
    });
    return found == items.end() ? std::nullopt : std::optional<MenuBarItem>(*found);
}

bool SettingsView::canAddItem() const {
    return services_.menuItemManager.items().size() < MenuItemManager::maxItems;
}

std::string SettingsView::addItemToolTip() const {
    return canAddItem() ? "Add new menu item" : "Maximum 10 items allowed";
}

bool SettingsView::showsDeleteControls() const {
    return services_.menuItemManager.items().size() >= 2;
}

MenuBarItem SettingsView::newItem(const Uuid& id, std::string title, std::string text, const Color& color,
                                  bool usesSmartPaste) {
    const MenuBarItem made(std::move(text), std::move(title), color, usesSmartPaste, 0);
    return MenuBarItem(id, made.text, made.title, made.iconColor, made.usesSmartPaste, false, std::nullopt, 0,
                       made.createdAt);
}

void SettingsView::addItem(const MenuBarItem& item) {
    services_.menuItemManager.addItem(item);
    const auto& items = services_.menuItemManager.items();
    if (std::any_of(items.begin(), items.end(),
                    [&](const MenuBarItem& stored) { return stored.id() == item.id(); })) {
        selectedSection_ = SettingsSection::menuItem(item.id());
    }
}

void SettingsView::updateItem(const MenuBarItem& item) {
    services_.menuItemManager.updateItem(item);
}

std::string SettingsView::deleteMessage() const {
    return "Are you sure you want to delete '" + (itemToDelete_ ? itemToDelete_->title : std::string()) +
           "'?";
}

void SettingsView::deleteItem() {
    if (!itemToDelete_) {
        return;
    }
    const auto& items = services_.menuItemManager.items();
    const auto found = std::find_if(items.begin(), items.end(), [&](const MenuBarItem& item) {
        return item.id() == itemToDelete_->id();
    });
    if (found == items.end()) {
        return;
    }
    const auto index = std::distance(items.begin(), found);
    if (selectedSection_ == SettingsSection::menuItem(itemToDelete_->id())) {
        selectedSection_ = SettingsSection::general();
    }
    services_.menuItemManager.removeItemAt(index);
}

void SettingsView::resetAllSettings() {
    services_.logger.info("Resetting all settings to defaults");
    services_.userDefaults.removePersistentDomain();
    services_.shortcuts.reset({services_.copyToClipboard});
    services_.launchAtLogin.setEnabled(false);
    services_.menuItemManager.setItems({});
    services_.menuItemManager.addItem(MenuBarItem(MenuItemManager::defaultText, MenuItemManager::defaultTitle,
                                                  Color::systemBlue(), false, 0));
    services_.logger.info("Settings reset completed, restarting app...");
    services_.application.relaunch();
    services_.mainQueue.asyncAfter(terminateDelay,
                                   [&application = services_.application] { application.terminate(); });
}

void SettingsView::windowShown() {
    services_.logger.info("Settings window opened");
}

} // namespace driftmark
