#include "KeyboardShortcuts/Module.h"
#include "KeyboardShortcuts/ShortcutJson.h"
#include "platform/PreferencesStore.h"

namespace driftmark::KeyboardShortcuts {

std::string Module::storageKey(const Name& name) {
    return std::string(storagePrefix) + name.rawValue;
}

std::optional<Shortcut> Module::getShortcut(const Name& name) const {
    // The false marker reads as "0", which is no shortcut.
    const auto stored = services_.userDefaults.string(storageKey(name));
    return stored ? decodeJson(*stored) : std::nullopt;
}

void Module::setShortcut(const std::optional<Shortcut>& shortcut, const Name& name) {
    if (shortcut) {
        userDefaultsSet(name, *shortcut);
        return;
    }
    const auto current = getShortcut(name);
    if (!current) {
        return;
    }
    if (name.defaultShortcut) {
        services_.userDefaults.set(storageKey(name), false);
    } else {
        services_.userDefaults.removeObject(storageKey(name));
    }
    unregisterShortcut(*current);
    userDefaultsDidChange(name);
}

void Module::reset(const std::vector<Name>& names) {
    for (const Name& name : names) {
        const auto current = getShortcut(name);
        if (!name.defaultShortcut) {
            if (current) {
                services_.userDefaults.removeObject(storageKey(name));
                unregisterShortcut(*current);
                userDefaultsDidChange(name);
            }
            continue;
        }
        std::string json = encodeJson(*name.defaultShortcut);
        if (current) {
            unregisterShortcut(*current);
        }
        registerShortcut(*name.defaultShortcut);
        services_.userDefaults.set(storageKey(name), std::move(json));
        userDefaultsDidChange(name);
    }
}

void Module::resetAll() {
    const auto names = allNames();
    reset(std::vector<Name>(names.begin(), names.end()));
}

std::unordered_set<Name> Module::allNames() {
    std::unordered_set<Name> names;
    for (const auto& [key, value] : services_.userDefaults.dictionaryRepresentation()) {
        if (key.starts_with(storagePrefix)) {
            names.insert(makeName(key.substr(storagePrefix.size())));
        }
    }
    return names;
}

void Module::userDefaultsSet(const Name& name, const Shortcut& shortcut) {
    std::string json = encodeJson(shortcut);
    // Old key first, so that one name never holds two hot keys.
    if (const auto current = getShortcut(name)) {
        unregisterShortcut(*current);
    }
    registerShortcut(shortcut);
    services_.userDefaults.set(storageKey(name), std::move(json));
    userDefaultsDidChange(name);
}

bool Module::userDefaultsContains(const Name& name) const {
    return services_.userDefaults.object(storageKey(name)).has_value();
}

void Module::userDefaultsDidChange(const Name& name) {
    notifications_.post({std::string(shortcutByNameDidChange), {{"name", name}}});
}

} // namespace driftmark::KeyboardShortcuts
