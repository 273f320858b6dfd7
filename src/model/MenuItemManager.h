#pragma once

#include "model/MenuBarItem.h"
#include "model/Observable.h"
#include "model/Subscription.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace driftmark {

class AppLogger;
class PreferencesStore;

// The single store of the entry list: loads it at construction (or migrates the older storage, or seeds
// one default entry), keeps it within the limits, renumbers `order` and saves after every change, and
// announces every change with the complete new list. Main thread only.
class MenuItemManager {
public:
    using Items = std::vector<MenuBarItem>;

    static constexpr const char* storageKey = "menuBarItems";
    // Where a stored list that could not be read is kept before it is replaced; when that key is taken
    // by an earlier one, the first free key of "menuBarItems.unreadable.2", ".3", ...
    static constexpr const char* unreadableStorageKey = "menuBarItems.unreadable";
    static constexpr std::size_t maxItems = 10;
    static constexpr const char* defaultTitle = "Driftmark";
    static constexpr const char* defaultText = "Driftmark about this.";

    // The process-wide store over the user's preferences file, built on first use.
    static MenuItemManager& shared();
    // The entry every fresh start and every reset begins with.
    static MenuBarItem defaultItem(std::string text, bool usesSmartPaste);

    MenuItemManager(PreferencesStore& userDefaults, AppLogger& logger);
    MenuItemManager(const MenuItemManager&) = delete;
    MenuItemManager& operator=(const MenuItemManager&) = delete;

    const Items& items() const { return items_.value(); }
    // Announced like any change, but not saved: the caller saves through a following operation.
    void setItems(Items items);
    // Hands over the current list at once, then each new list before items() returns it.
    Subscription subscribe(std::function<void(const Items&)> handler);
    Subscription subscribeToAboutToChange(std::function<void()> handler);

    // Appends a copy numbered after the last entry; refused once maxItems entries exist.
    void addItem(MenuBarItem item);
    // Refused for a position outside the list and for the last remaining entry.
    void removeItemAt(std::ptrdiff_t index);
    // Replaces the entry with the same id in place; refused for an unknown id.
    void updateItem(const MenuBarItem& item);

    void loadItems();
    void saveItems();
    void migrateFromOldFormat();

private:
    void keepUnreadableStoredList();

    Observable<Items> items_;
    PreferencesStore& userDefaults_;
    AppLogger& logger_;
};

} // namespace driftmark
