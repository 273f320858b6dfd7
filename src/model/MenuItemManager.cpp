#include "model/MenuItemManager.h"

#include "model/ClipboardTextItem.h"
#include "model/MenuBarItemJson.h"
#include "platform/PreferencesStore.h"
#include "support/AppLogger.h"
#include "support/FilePreferencesStore.h"

#include <algorithm>
#include <iostream>
#include <source_location>
#include <unordered_set>
#include <utility>
#include <variant>

namespace driftmark {

namespace {

// Left by earlier versions; read only on a first start.
constexpr const char* legacyItemsKey = "clipboardTextItems";
constexpr const char* legacyTextKey = "clipboardText";
constexpr const char* autoPasteKey = "autoPaste";

MenuBarItem withFreshId(const MenuBarItem& item) {
    return MenuBarItem(Uuid::random(), item.text, item.title, item.iconColor, item.usesSmartPaste,
                       item.prependNewline, item.keyboardShortcutName, item.order, item.createdAt);
}

// Every entry needs an id of its own to get an icon and a shortcut; the first with an id keeps it.
std::size_t giveDuplicatesFreshIds(MenuItemManager::Items& items) {
    std::unordered_set<Uuid> seen;
    std::size_t renamed = 0;
    for (MenuBarItem& item : items) {
        if (!seen.insert(item.id()).second) {
            item = withFreshId(item);
            seen.insert(item.id());
            ++renamed;
        }
    }
    return renamed;
}

} // namespace

MenuItemManager& MenuItemManager::shared() {
    static MenuItemManager manager(FilePreferencesStore::standard(), AppLogger::shared());
    return manager;
}

MenuBarItem MenuItemManager::defaultItem(std::string text, bool usesSmartPaste) {
    return MenuBarItem(std::move(text), defaultTitle, Color::systemBlue(), usesSmartPaste, 0);
}

MenuItemManager::MenuItemManager(PreferencesStore& userDefaults, AppLogger& logger)
    : userDefaults_(userDefaults)
    , logger_(logger) {
    loadItems();
    if (items().empty()) {
        keepUnreadableStoredList();
        migrateFromOldFormat();
    } else if (userDefaults_.object(legacyItemsKey)) {
        // A migration that was cut short between saving the new list and removing the old one: the new
        // list is complete, so the old one goes now.
        userDefaults_.removeObject(legacyItemsKey);
    }
}

void MenuItemManager::setItems(Items items) {
    items_.set(std::move(items));
}

Subscription MenuItemManager::subscribe(std::function<void(const Items&)> handler) {
    return items_.subscribe(std::move(handler));
}

Subscription MenuItemManager::subscribeToAboutToChange(std::function<void()> handler) {
    return items_.subscribeToAboutToChange(std::move(handler));
}

void MenuItemManager::addItem(MenuBarItem item) {
    if (items().size() >= maxItems) {
        return;
    }
    Items next = items();
    item.order = static_cast<std::int64_t>(next.size());
    next.push_back(std::move(item));
    items_.set(std::move(next));
    saveItems();
}

void MenuItemManager::removeItemAt(std::ptrdiff_t index) {
    if (index < 0 || index >= std::ssize(items()) || items().size() < 2) {
        return;
    }
    Items next = items();
    next.erase(next.begin() + index);
    items_.set(std::move(next));
    saveItems();
}

void MenuItemManager::updateItem(const MenuBarItem& item) {
    const auto found = std::find_if(items().begin(), items().end(),
                                    [&item](const MenuBarItem& stored) { return stored.id() == item.id(); });
    if (found == items().end()) {
        return;
    }
    Items next = items();
    next[static_cast<std::size_t>(found - items().begin())] = item;
    items_.set(std::move(next));
    saveItems();
}

void MenuItemManager::loadItems() {
    const auto stored = userDefaults_.data(storageKey);
    if (!stored) {
        return;
    }
    auto decoded = decodeMenuBarItems(*stored);
    if (!decoded) {
        return;
    }
    std::stable_sort(decoded->begin(), decoded->end(),
                     [](const MenuBarItem& a, const MenuBarItem& b) { return a.order < b.order; });
    const std::size_t renamed = giveDuplicatesFreshIds(*decoded);
    items_.set(std::move(*decoded));
    if (renamed > 0) {
        saveItems();
        logger_.warning("Stored menu bar items shared ids; gave " + std::to_string(renamed) +
                        (renamed == 1 ? " later entry a fresh id" : " later entries fresh ids"));
    }
}

void MenuItemManager::saveItems() {
    // Each renumbering is a change of its own, announced even when the number is already right.
    for (std::size_t i = 0; i < items().size(); ++i) {
        Items next = items();
        next[i].order = static_cast<std::int64_t>(i);
        items_.set(std::move(next));
    }
    if (const auto bytes = encodeMenuBarItems(items())) {
        userDefaults_.set(storageKey, *bytes);
    }
}

void MenuItemManager::migrateFromOldFormat() {
    const auto legacyBytes = userDefaults_.data(legacyItemsKey);
    const auto records = legacyBytes ? decodeClipboardTextItems(*legacyBytes) : std::nullopt;
    if (!records) {
        setItems({defaultItem(userDefaults_.string(legacyTextKey).value_or(defaultText),
                              userDefaults_.boolean(autoPasteKey))});
        saveItems();
        return;
    }

    const bool autoPaste = userDefaults_.boolean(autoPasteKey);
    for (std::size_t i = 0; i < records->size(); ++i) {
        const ClipboardTextItem& record = (*records)[i];
        const Color color = record.isActive ? Color::systemBlue() : Color::systemGray();
        // The empty title makes the constructor take the text's first 20 characters.
        Items next = items();
        next.emplace_back(record.text, std::string(), color, autoPaste, static_cast<std::int64_t>(i));
        items_.set(std::move(next));
    }
    saveItems();
    userDefaults_.removeObject(legacyItemsKey);
    const std::size_t n = items().size();
    logger_.log("Migrated " + std::to_string(n) + " items from old format", AppLogger::LogLevel::info,
                std::source_location::current().file_name(), "migrateFromOldFormat()",
                std::source_location::current().line());
}

void MenuItemManager::keepUnreadableStoredList() {
    const auto stored = userDefaults_.object(storageKey);
    if (!stored) {
        return;
    }
    // A value of another kind (a string, a number) cannot be a list either.
    if (const auto* bytes = std::get_if<Bytes>(&*stored); bytes != nullptr && decodeMenuBarItems(*bytes)) {
        return;
    }
    // The default or migrated list is about to be saved over this value; the user's entries stay
    // recoverable by hand, and so do those of every earlier time this happened.
    std::string key = unreadableStorageKey;
    for (int number = 2; userDefaults_.object(key); ++number) {
        key = std::string(unreadableStorageKey) + "." + std::to_string(number);
    }
    userDefaults_.set(key, *stored);
    const std::string message = "Stored menu bar items could not be read; kept them under \"" + key + "\"";
    std::cerr << message << std::endl;
    logger_.warning(message);
}

} // namespace driftmark
