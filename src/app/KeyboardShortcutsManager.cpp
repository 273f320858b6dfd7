#include "app/KeyboardShortcutsManager.h"

#include "KeyboardShortcuts/Key.h"
#include "KeyboardShortcuts/Module.h"
#include "platform/PreferencesStore.h"
#include "support/AppLogger.h"

#include <unordered_map>

namespace driftmark {

using KeyboardShortcuts::Key;
using KeyboardShortcuts::ModifierFlags;
using KeyboardShortcuts::Name;
using KeyboardShortcuts::Shortcut;

namespace {

constexpr const char* oldKeyCodeKey = "shortcutKeyCode";
constexpr const char* oldModifiersKey = "shortcutModifiers";

// The keys earlier releases could record.
const std::unordered_map<std::int64_t, Key>& oldKeyCodes() {
    static const std::unordered_map<std::int64_t, Key> keys{
        {0, Key::a},       {1, Key::s},        {2, Key::d},    {3, Key::f},      {4, Key::h},
        {5, Key::g},       {6, Key::z},        {7, Key::x},    {8, Key::c},      {9, Key::v},
        {11, Key::b},      {12, Key::q},       {13, Key::w},   {14, Key::e},     {15, Key::r},
        {16, Key::y},      {17, Key::t},       {31, Key::o},   {32, Key::u},     {34, Key::i},
        {35, Key::p},      {36, Key::return_}, {37, Key::l},   {38, Key::j},     {40, Key::k},
        {45, Key::n},      {46, Key::m},       {48, Key::tab}, {49, Key::space}, {51, Key::delete_},
        {53, Key::escape},
    };
    return keys;
}

std::optional<std::int64_t> storedInteger(const PreferencesStore& store, const char* key) {
    const auto value = store.object(key);
    const auto* integer = value ? std::get_if<std::int64_t>(&*value) : nullptr;
    return integer ? std::optional<std::int64_t>(*integer) : std::nullopt;
}

// Earlier releases stored Command, Shift, Option and Control only; other bits mean nothing.
ModifierFlags oldModifierFlags(std::int64_t value) {
    using namespace KeyboardShortcuts::CarbonModifier;
    return KeyboardShortcuts::modifierFlags(value & (command | shift | option | control));
}

} // namespace

KeyboardShortcutsManager& KeyboardShortcutsManager::shared() {
    static KeyboardShortcutsManager manager(KeyboardShortcuts::Module::shared(), AppLogger::shared());
    return manager;
}

Name KeyboardShortcutsManager::menuItemName(const Uuid& id) {
    return Name("menuItem_" + id.toString());
}

KeyboardShortcutsManager::KeyboardShortcutsManager(KeyboardShortcuts::Module& shortcuts, AppLogger& logger)
    : shortcuts_(shortcuts)
    , logger_(logger)
    , copyToClipboard_(std::string(copyToClipboardRawValue)) {
    log("KeyboardShortcutsManager initialized", "init()");
    setupLegacyShortcut();
    migrateOldSettings();
}

Name KeyboardShortcutsManager::name(std::string_view rawValue) const {
    return rawValue == copyToClipboard_.rawValue ? copyToClipboard_ : Name(std::string(rawValue));
}

void KeyboardShortcutsManager::registerShortcut(const MenuBarItem& item, Action action) {
    const Uuid id = item.id();
    const Name name = shortcuts_.makeName(menuItemName(id).rawValue);
    menuItemActions_.insert_or_assign(id, ItemAction{item.title, std::move(action)});
    if (itemsWithHandler_.insert(id).second) {
        shortcuts_.onKeyUp(name, liveness_.guard([this, id] { menuItemShortcutReleased(id); }));
    } else {
        // Its hot key may have been given back when the item went away.
        shortcuts_.enable({name});
    }
    log("Registered shortcut for item: " + item.title + " with id: " + id.toString(),
        "registerShortcut(for:action:)");
}

void KeyboardShortcutsManager::unregisterShortcut(const Uuid& id) {
    shortcuts_.disable({shortcuts_.makeName(menuItemName(id).rawValue)});
    menuItemActions_.erase(id);
    log("Unregistered shortcut for item id: " + id.toString(), "unregisterShortcut(for:)");
}

void KeyboardShortcutsManager::updateShortcuts(const std::vector<MenuBarItem>& items) {
    std::map<Uuid, const MenuBarItem*> listed;
    for (const MenuBarItem& item : items) {
        listed.emplace(item.id(), &item);
    }
    std::vector<Uuid> unlisted;
    for (auto& [id, entry] : menuItemActions_) {
        if (const auto found = listed.find(id); found != listed.end()) {
            entry.title = found->second->title;
        } else {
            unlisted.push_back(id);
        }
    }
    for (const Uuid& id : unlisted) {
        unregisterShortcut(id);
    }
    if (!unlisted.empty()) {
        log("Updated shortcuts for " + std::to_string(items.size()) + " items", "updateShortcuts(for:)");
    }
}

void KeyboardShortcutsManager::setupLegacyShortcut() {
    copyToClipboard_ = shortcuts_.makeName(std::string(copyToClipboardRawValue),
                                           Shortcut(Key::u, ModifierFlags::control | ModifierFlags::shift));
    shortcuts_.onKeyUp(copyToClipboard_, liveness_.guard([this] {
        log("Legacy keyboard shortcut triggered!", "setupLegacyShortcut()");
        if (copyTextAction) {
            // A copy, so that the action may replace itself.
            const Action action = copyTextAction;
            action();
        }
    }));
    log("Legacy keyboard shortcut handler registered", "setupLegacyShortcut()");
}

void KeyboardShortcutsManager::migrateOldSettings() {
    const auto keyCode = storedInteger(shortcuts_.userDefaults(), oldKeyCodeKey);
    const auto modifiers = keyCode ? storedInteger(shortcuts_.userDefaults(), oldModifiersKey) : std::nullopt;
    if (!keyCode || !modifiers) {
        return;
    }
    log("Found old shortcut settings - keyCode: " + std::to_string(*keyCode) +
            ", modifiers: " + std::to_string(*modifiers),
        "migrateOldSettings()");
    const auto key = oldKeyCodes().find(*keyCode);
    if (key == oldKeyCodes().end() || *modifiers < 0 || *modifiers > std::int64_t{0xFFFFFFFF}) {
        return;
    }
    const ModifierFlags flags = oldModifierFlags(*modifiers);
    if (flags.empty()) {
        return;
    }
    shortcuts_.setShortcut(Shortcut(key->second, flags), copyToClipboard_);
    log("Migrated old shortcut to new format", "migrateOldSettings()");
    shortcuts_.userDefaults().removeObject(oldKeyCodeKey);
    shortcuts_.userDefaults().removeObject(oldModifiersKey);
}

void KeyboardShortcutsManager::menuItemShortcutReleased(const Uuid& id) {
    const auto entry = menuItemActions_.find(id);
    if (entry == menuItemActions_.end()) {
        return;
    }
    log("Keyboard shortcut triggered for item: " + entry->second.title, "registerShortcut(for:action:)");
    // A copy, so that the action may register the item again.
    const Action action = entry->second.action;
    if (action) {
        action();
    }
}

void KeyboardShortcutsManager::log(std::string message, std::string_view function,
                                   std::source_location site) const {
    logger_.log(std::move(message), AppLogger::LogLevel::info, site.file_name(), function, site.line());
}

} // namespace driftmark
