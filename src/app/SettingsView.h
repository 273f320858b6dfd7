#pragma once

#include "KeyboardShortcuts/Name.h"
#include "app/SettingsSection.h"
#include "model/MenuBarItem.h"
#include "platform/Color.h"

#include <optional>
#include <string>

namespace driftmark {

class AppLogger;
class Application;
class LaunchAtLogin;
class MainQueue;
class MenuItemManager;
class PreferencesStore;

namespace KeyboardShortcuts {
class Module;
}

// What the settings window does, apart from drawing it: the sidebar's selection, adding, updating and
// deleting entries, and resetting everything. The item store stays the single source of truth; this
// keeps only the selection and the entry a delete confirmation names. Main thread only.
class SettingsView {
public:
    struct Services {
        MenuItemManager& menuItemManager;
        KeyboardShortcuts::Module& shortcuts;
        // The older application-wide shortcut, which a reset returns to its default.
        KeyboardShortcuts::Name copyToClipboard;
        LaunchAtLogin& launchAtLogin;
        AppLogger& logger;
        PreferencesStore& userDefaults;
        Application& application;
        MainQueue& mainQueue;
    };

    explicit SettingsView(Services services);

    // The version shown in the header and the about pane.
    static std::string appVersion();

    const SettingsSection& selectedSection() const { return selectedSection_; }
    void setSelectedSection(SettingsSection section) { selectedSection_ = std::move(section); }
    // The entry whose pane the selection shows; none for general, about, or an entry that is gone.
    std::optional<MenuBarItem> selectedItem() const;

    bool canAddItem() const;
    std::string addItemToolTip() const;
    // Deleting is offered only while it would leave an entry behind.
    bool showsDeleteControls() const;

    // A new entry as the add form saves it, under the id its shortcut recorder was bound to.
    static MenuBarItem newItem(const Uuid& id, std::string title, std::string text, const Color& color,
                               bool usesSmartPaste);
    // Stores the entry from the add form and selects it; nothing is selected when the store refuses it.
    void addItem(const MenuBarItem& item);
    // What an entry's pane reports after each change.
    void updateItem(const MenuBarItem& item);

    // The delete control of a row was pressed: the confirmation names this entry.
    void setItemToDelete(const MenuBarItem& item) { itemToDelete_ = item; }
    std::string deleteMessage() const;
    // The confirmation's "Delete".
    void deleteItem();

    // Empties the preferences, returns the older shortcut to its default, switches start at login off,
    // leaves one default entry and starts a fresh Driftmark, quitting this one half a second later.
    void resetAllSettings();

    void windowShown();

private:
    Services services_;
    SettingsSection selectedSection_ = SettingsSection::general();
    std::optional<MenuBarItem> itemToDelete_;
};

} // namespace driftmark
