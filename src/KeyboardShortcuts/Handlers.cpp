#include "KeyboardShortcuts/Module.h"
#include "platform/MainQueue.h"

namespace driftmark::KeyboardShortcuts {

namespace {

template <class Map>
void collectStoredShortcuts(const Module& module, const Map& map, std::unordered_set<Shortcut>& shortcuts) {
    for (const auto& entry : map) {
        if (const auto shortcut = module.getShortcut(entry.first)) {
            shortcuts.insert(*shortcut);
        }
    }
}

} // namespace

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
        if (const auto shortcut = getShortcut(name)) {
            registerShortcut(*shortcut);
        }
    }
}

void Module::disable(const std::vector<Name>& names) {
    for (const Name& name : names) {
        if (const auto shortcut = getShortcut(name)) {
            unregisterShortcut(*shortcut);
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
