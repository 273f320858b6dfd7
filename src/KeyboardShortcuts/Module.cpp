#include "KeyboardShortcuts/Module.h"

#include "KeyboardShortcuts/ShortcutJson.h"
#include "platform/MainQueue.h"
#include "platform/PreferencesStore.h"

#include <stdexcept>

namespace driftmark::KeyboardShortcuts {

namespace {

// Never destroyed: the platform services it uses may be gone by the time static objects are destroyed.
Module* sharedModule = nullptr;

template <class Map>
void collectStoredShortcuts(const Module& module, const Map& map, std::unordered_set<Shortcut>& shortcuts) {
    for (const auto& entry : map) {
        if (const auto shortcut = module.getShortcut(entry.first)) {
            shortcuts.insert(*shortcut);
        }
    }
}

} // namespace

Module& Module::configureShared(const Services& services) {
    if (sharedModule == nullptr) {
        sharedModule = new Module(services);
    }
    return *sharedModule;
}

Module& Module::shared() {
    if (sharedModule == nullptr) {
        throw std::logic_error("KeyboardShortcuts::Module used before configureShared");
    }
    return *sharedModule;
}

Module::Module(const Services& services)
    : services_(services)
    , carbon_(services.hotKeys, services.keyboardLayout, switches_, services.standardOutput) {}

Module::~Module() {
    if (openMenuObserver_) {
        services_.menuTracking.removeObserver(*openMenuObserver_);
    }
    if (closeMenuObserver_) {
        services_.menuTracking.removeObserver(*closeMenuObserver_);
    }
}

Name Module::makeName(std::string rawValue, std::optional<Shortcut> defaultShortcut) {
    Name name(std::move(rawValue), defaultShortcut);
    if (defaultShortcut && !userDefaultsContains(name)) {
        userDefaultsSet(name, *defaultShortcut);
    }
    initialize();
    return name;
}

void Module::initialize() {
    if (isInitialized_) {
        return;
    }
    isInitialized_ = true;
    openMenuObserver_ =
        services_.menuTracking.addObserver(MenuTracking::Phase::didBegin, [this] { setMenuOpen(true); });
    closeMenuObserver_ =
        services_.menuTracking.addObserver(MenuTracking::Phase::didEnd, [this] { setMenuOpen(false); });
}

void Module::setEnabled(bool enabled) {
    if (switches_.isEnabled == enabled) {
        return;
    }
    switches_.isEnabled = enabled;
    carbon_.updateEventHandler();
}

void Module::setMenuOpen(bool open) {
    if (switches_.isMenuOpen == open) {
        return;
    }
    switches_.isMenuOpen = open;
    carbon_.updateEventHandler();
}

void Module::registerShortcut(const Shortcut& shortcut) {
    if (registeredShortcuts_.contains(shortcut)) {
        return;
    }
    carbon_.register_(
        shortcut, [this](const Shortcut& pressed) { handleOnKeyDown(pressed); },
        [this](const Shortcut& released) { dispatchKeyUp(released); });
    registeredShortcuts_.insert(shortcut);
}

void Module::unregisterShortcut(const Shortcut& shortcut) {
    carbon_.unregister(shortcut);
    registeredShortcuts_.erase(shortcut);
}

void Module::releaseShortcut(const Shortcut& shortcut, const Name& releasing) {
    for (const auto& [key, value] : services_.userDefaults.dictionaryRepresentation()) {
        if (!key.starts_with(storagePrefix)) {
            continue;
        }
        const Name other(key.substr(storagePrefix.size()));
        if (!(other == releasing) && isInUse(other) && getShortcut(other) == shortcut) {
            return;
        }
    }
    unregisterShortcut(shortcut);
}

bool Module::isInUse(const Name& name) const {
    const bool handled = legacyKeyDownHandlers_.contains(name) || legacyKeyUpHandlers_.contains(name) ||
                         streamKeyDownHandlers_.contains(name) || streamKeyUpHandlers_.contains(name);
    return handled && !disabledNames_.contains(name);
}

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
    releaseShortcut(*current, name);
    userDefaultsDidChange(name);
}

void Module::reset(const std::vector<Name>& names) {
    for (const Name& name : names) {
        const auto current = getShortcut(name);
        if (!name.defaultShortcut) {
            if (current) {
                services_.userDefaults.removeObject(storageKey(name));
                releaseShortcut(*current, name);
                userDefaultsDidChange(name);
            }
            continue;
        }
        std::string json = encodeJson(*name.defaultShortcut);
        if (current) {
            releaseShortcut(*current, name);
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
        releaseShortcut(*current, name);
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

void Module::onKeyDown(const Name& name, std::function<void()> action) {
    legacyKeyDownHandlers_[name].push_back(std::move(action));
    if (const auto shortcut = getShortcut(name)) {
        registerShortcut(*shortcut);
    }
}

void Module::onKeyUp(const Name& name, std::function<void()> action) {
    legacyKeyUpHandlers_[name].push_back(std::move(action));
    if (const auto shortcut = getShortcut(name)) {
        registerShortcut(*shortcut);
    }
}

void Module::removeAllHandlers() {
    const auto legacy = shortcutsForLegacyHandlers();
    const auto streams = shortcutsForStreamHandlers();
    for (const Shortcut& shortcut : legacy) {
        if (!streams.contains(shortcut)) {
            unregisterShortcut(shortcut);
        }
    }
    legacyKeyDownHandlers_.clear();
    legacyKeyUpHandlers_.clear();
}

void Module::enable(const std::vector<Name>& names) {
    for (const Name& name : names) {
        disabledNames_.erase(name);
        if (const auto shortcut = getShortcut(name)) {
            registerShortcut(*shortcut);
        }
    }
}

void Module::disable(const std::vector<Name>& names) {
    for (const Name& name : names) {
        disabledNames_.insert(name);
        if (const auto shortcut = getShortcut(name)) {
            releaseShortcut(*shortcut, name);
        }
    }
}

EventStream Module::events(const Name& name) {
    return makeStream(name, std::nullopt);
}

EventStream Module::events(EventType type, const Name& name) {
    return makeStream(name, type);
}

void Module::handleOnKeyDown(const Shortcut& shortcut) {
    dispatch(shortcut, legacyKeyDownHandlers_, streamKeyDownHandlers_);
}

void Module::dispatchKeyUp(const Shortcut& shortcut) {
    dispatch(shortcut, legacyKeyUpHandlers_, streamKeyUpHandlers_);
}

std::unordered_set<Shortcut> Module::shortcutsForLegacyHandlers() const {
    std::unordered_set<Shortcut> shortcuts;
    collectStoredShortcuts(*this, legacyKeyDownHandlers_, shortcuts);
    collectStoredShortcuts(*this, legacyKeyUpHandlers_, shortcuts);
    return shortcuts;
}

std::unordered_set<Shortcut> Module::shortcutsForStreamHandlers() const {
    std::unordered_set<Shortcut> shortcuts;
    collectStoredShortcuts(*this, streamKeyDownHandlers_, shortcuts);
    collectStoredShortcuts(*this, streamKeyUpHandlers_, shortcuts);
    return shortcuts;
}

EventStream Module::makeStream(const Name& name, std::optional<EventType> only) {
    auto buffer = std::make_shared<EventBuffer>(only);
    const Uuid id = Uuid::random();
    const std::weak_ptr<const bool> alive = lifetime_;
    services_.mainQueue.async([this, alive, name, id, buffer] {
        if (alive.expired()) {
            return;
        }
        streamKeyDownHandlers_[name][id] = [buffer] { buffer->yield(EventType::keyDown); };
        streamKeyUpHandlers_[name][id] = [buffer] { buffer->yield(EventType::keyUp); };
        if (const auto shortcut = getShortcut(name)) {
            registerShortcut(*shortcut);
        }
    });
    return EventStream(buffer, [this, alive, name, id] {
        if (alive.expired()) {
            return;
        }
        services_.mainQueue.async([this, alive, name, id] {
            if (!alive.expired()) {
                endStream(name, id);
            }
        });
    });
}

void Module::endStream(const Name& name, const Uuid& id) {
    for (Subscribers* subscribers : {&streamKeyDownHandlers_, &streamKeyUpHandlers_}) {
        const auto entry = subscribers->find(name);
        if (entry != subscribers->end()) {
            entry->second.erase(id);
            // A name without streams must not keep its hot key alive.
            if (entry->second.empty()) {
                subscribers->erase(entry);
            }
        }
    }
    const auto shortcut = getShortcut(name);
    if (shortcut && !shortcutsForLegacyHandlers().contains(*shortcut) &&
        !shortcutsForStreamHandlers().contains(*shortcut)) {
        unregisterShortcut(*shortcut);
    }
}

void Module::dispatch(const Shortcut& shortcut, const Actions& actions, const Subscribers& subscribers) {
    if (switches_.isPaused) {
        return;
    }
    // Collected first: an action may add or remove handlers.
    std::vector<std::function<void()>> calls;
    for (const auto& [name, list] : actions) {
        if (getShortcut(name) == shortcut) {
            calls.insert(calls.end(), list.begin(), list.end());
        }
    }
    for (const auto& call : calls) {
        call();
    }
    calls.clear();
    for (const auto& [name, byId] : subscribers) {
        if (getShortcut(name) == shortcut) {
            for (const auto& entry : byId) {
                calls.push_back(entry.second);
            }
        }
    }
    for (const auto& call : calls) {
        call();
    }
}

} // namespace driftmark::KeyboardShortcuts
