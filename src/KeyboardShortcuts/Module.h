#pragma once

#include "KeyboardShortcuts/CarbonKeyboardShortcuts.h"
#include "KeyboardShortcuts/EventStream.h"
#include "KeyboardShortcuts/HotKey.h"
#include "KeyboardShortcuts/Name.h"
#include "KeyboardShortcuts/NotificationCenter.h"
#include "KeyboardShortcuts/Shortcut.h"
#include "model/Uuid.h"
#include "platform/MenuTracking.h"

#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace driftmark {
class KeyboardLayout;
class MainQueue;
class PreferencesStore;
class SystemShortcutList;
} // namespace driftmark

namespace driftmark::KeyboardShortcuts {

// The global keyboard shortcuts of the application: each Name's shortcut, stored in the preferences
// store; the hot keys registered for them; and the actions run when one is pressed or released. One
// process-wide instance serves the application (shared()); tests build their own. Main thread only.
class Module {
public:
    static constexpr std::string_view storagePrefix = "KeyboardShortcuts_";

    struct Services {
        PreferencesStore& userDefaults;
        MainQueue& mainQueue;
        HotKeyService& hotKeys;
        const KeyboardLayout& keyboardLayout;
        const SystemShortcutList& systemShortcutList;
        MenuTracking& menuTracking;
        // Where refused hot keys are reported.
        std::ostream& standardOutput;
    };

    // Builds the process-wide instance on the first call; later calls return it unchanged.
    static Module& configureShared(const Services& services);
    // The process-wide instance; configureShared must have run (from main()).
    static Module& shared();

    explicit Module(const Services& services);
    ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    // A name ready for use. The first time a name with a default meets a store without a value for it, the
    // default is stored and registered.
    Name makeName(std::string rawValue, std::optional<Shortcut> defaultShortcut = std::nullopt);
    // Starts following the application's menus; runs once, on the first makeName.
    void initialize();

    // Stored shortcuts. Every change notifies shortcutByNameDidChange and keeps the hot keys in step.
    std::optional<Shortcut> getShortcut(const Name& name) const;
    // Without a shortcut the name's shortcut is removed; a name with a default then keeps the boolean
    // false, so that the default does not come back at the next start.
    void setShortcut(const std::optional<Shortcut>& shortcut, const Name& name);
    // Back to each name's default, or to nothing.
    void reset(const std::vector<Name>& names);
    void resetAll();
    // Every name with a stored value, without defaults.
    std::unordered_set<Name> allNames();
    void userDefaultsSet(const Name& name, const Shortcut& shortcut);
    // A shortcut or the false marker is stored.
    bool userDefaultsContains(const Name& name) const;
    void userDefaultsDidChange(const Name& name);

    bool isEnabled() const { return switches_.isEnabled; }
    // Off: every hot key is given back until switched on again.
    void setEnabled(bool enabled);
    bool isPaused() const { return switches_.isPaused; }
    void setPaused(bool paused) { switches_.isPaused = paused; }
    bool isMenuOpen() const { return switches_.isMenuOpen; }
    const std::unordered_set<Shortcut>& registeredShortcuts() const { return registeredShortcuts_; }

    // Actions run, in the order added, whenever the name's current shortcut goes down or up.
    void onKeyDown(const Name& name, std::function<void()> action);
    void onKeyUp(const Name& name, std::function<void()> action);
    // Drops every onKeyDown and onKeyUp action; streams stay.
    void removeAllHandlers();
    void enable(const std::vector<Name>& names);
    // Gives the names' hot keys back; actions and stored shortcuts stay.
    void disable(const std::vector<Name>& names);
    EventStream events(const Name& name);
    EventStream events(EventType type, const Name& name);

    // What a press and a release of a registered shortcut run: the actions first, then the streams.
    void handleOnKeyDown(const Shortcut& shortcut);
    void dispatchKeyUp(const Shortcut& shortcut);

    NotificationCenter& notificationCenter() { return notifications_; }
    const CarbonKeyboardShortcuts& carbonKeyboardShortcuts() const { return carbon_; }
    MainQueue& mainQueue() const { return services_.mainQueue; }
    PreferencesStore& userDefaults() const { return services_.userDefaults; }
    const KeyboardLayout& keyboardLayout() const { return services_.keyboardLayout; }
    const SystemShortcutList& systemShortcutList() const { return services_.systemShortcutList; }
    HotKeyService& hotKeyService() const { return services_.hotKeys; }

private:
    using Actions = std::unordered_map<Name, std::vector<std::function<void()>>>;
    using Subscribers = std::unordered_map<Name, std::map<Uuid, std::function<void()>>>;

    static std::string storageKey(const Name& name);
    void registerShortcut(const Shortcut& shortcut);
    void unregisterShortcut(const Shortcut& shortcut);
    // Gives the hot key back unless another name in use keeps the same shortcut (the user may give two
    // names one combination).
    void releaseShortcut(const Shortcut& shortcut, const Name& releasing);
    // Whether a name's hot key is wanted: something acts on it and it is not disabled. The stored
    // shortcuts of entries that are gone do not hold a combination.
    bool isInUse(const Name& name) const;
    std::unordered_set<Shortcut> shortcutsForLegacyHandlers() const;
    std::unordered_set<Shortcut> shortcutsForStreamHandlers() const;
    EventStream makeStream(const Name& name, std::optional<EventType> only);
    void endStream(const Name& name, const Uuid& id);
    void dispatch(const Shortcut& shortcut, const Actions& actions, const Subscribers& subscribers);
    void setMenuOpen(bool open);

    Services services_;
    Switches switches_;
    NotificationCenter notifications_;
    CarbonKeyboardShortcuts carbon_;
    bool isInitialized_ = false;
    std::unordered_set<Shortcut> registeredShortcuts_;
    Actions legacyKeyDownHandlers_;
    Actions legacyKeyUpHandlers_;
    Subscribers streamKeyDownHandlers_;
    Subscribers streamKeyUpHandlers_;
    std::unordered_set<Name> disabledNames_;
    std::optional<MenuTracking::ObserverHandle> openMenuObserver_;
    std::optional<MenuTracking::ObserverHandle> closeMenuObserver_;
    // Queued work and streams check it, so that they do nothing once the module is gone.
    std::shared_ptr<const bool> lifetime_ = std::make_shared<const bool>(true);
};

} // namespace driftmark::KeyboardShortcuts
