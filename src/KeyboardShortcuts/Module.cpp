#include "KeyboardShortcuts/Module.h"

#include <stdexcept>

namespace driftmark::KeyboardShortcuts {

namespace {

// Never destroyed: the platform services it uses may be gone by the time static objects are destroyed.
Module* sharedModule = nullptr;

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

} // namespace driftmark::KeyboardShortcuts
