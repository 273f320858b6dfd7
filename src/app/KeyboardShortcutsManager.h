#pragma once

#include "KeyboardShortcuts/Name.h"
#include "app/LivenessToken.h"
#include "model/MenuBarItem.h"
#include "model/Uuid.h"

#include <functional>
#include <map>
#include <set>
#include <source_location>
#include <string>
#include <string_view>
#include <vector>

namespace driftmark {

class AppLogger;

namespace KeyboardShortcuts {
class Module;
}

// Gives every menu bar item a global shortcut name and runs the item's action when that shortcut is
// released; keeps the older application-wide shortcut "copyToClipboard", which acts on the first item,
// and converts it from the storage of earlier releases. Which shortcut a name has is the module's
// business. Main thread only.
class KeyboardShortcutsManager {
public:
    using Action = std::function<void()>;

    static constexpr std::string_view copyToClipboardRawValue = "copyToClipboard";

    // Over the process-wide shortcut module, preferences and log.
    static KeyboardShortcutsManager& shared();
    // The name whose shortcut triggers the item: "menuItem_" and the item's id.
    static KeyboardShortcuts::Name menuItemName(const Uuid& id);

    // Sets up the older shortcut (its default, Control+Shift+U, is stored on a first start) and converts
    // the older storage of it, which lives in the module's preferences store.
    KeyboardShortcutsManager(KeyboardShortcuts::Module& shortcuts, AppLogger& logger);
    KeyboardShortcutsManager(const KeyboardShortcutsManager&) = delete;
    KeyboardShortcutsManager& operator=(const KeyboardShortcutsManager&) = delete;

    // Releasing the item's shortcut runs the action given last, exactly once per release.
    void registerShortcut(const MenuBarItem& item, Action action);
    // Gives the item's hot key back and forgets its action; its stored shortcut stays.
    void unregisterShortcut(const Uuid& id);
    // Unregisters every item that is not in the list and takes the new titles of the registered ones
    // (for the line a release logs); registering the others is up to the caller. Logs only when it
    // unregistered one.
    void updateShortcuts(const std::vector<MenuBarItem>& items);
    bool isRegistered(const Uuid& id) const { return menuItemActions_.contains(id); }

    const KeyboardShortcuts::Name& copyToClipboard() const { return copyToClipboard_; }
    // The name a raw value stands for, with its default: the views know names by their strings alone, and
    // a cleared name with a default must keep the false marker rather than get its default back.
    KeyboardShortcuts::Name name(std::string_view rawValue) const;
    // The module that holds the items' shortcuts, for showing them elsewhere.
    KeyboardShortcuts::Module& shortcuts() const { return shortcuts_; }

    // Run when the older shortcut is released; empty does nothing.
    Action copyTextAction;

private:
    struct ItemAction {
        std::string title;
        Action action;
    };

    void setupLegacyShortcut();
    void migrateOldSettings();
    void menuItemShortcutReleased(const Uuid& id);
    void log(std::string message, std::string_view function,
             std::source_location site = std::source_location::current()) const;

    KeyboardShortcuts::Module& shortcuts_;
    AppLogger& logger_;
    KeyboardShortcuts::Name copyToClipboard_;
    std::map<Uuid, ItemAction> menuItemActions_;
    // The module keeps handlers for good, so each item's name gets exactly one, on its first registration.
    std::set<Uuid> itemsWithHandler_;
    LivenessToken liveness_;
};

} // namespace driftmark
