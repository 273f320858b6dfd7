#include "support/LaunchAtLogin.h"

#include "platform/LoginItemService.h"
#include "support/XdgAutostartEntry.h"

#include <iostream>
#include <utility>

namespace driftmark {

LaunchAtLogin& LaunchAtLogin::shared() {
    static XdgAutostartEntry entry;
    static LaunchAtLogin launchAtLogin(entry, std::cout);
    return launchAtLogin;
}

LaunchAtLogin::LaunchAtLogin(LoginItemService& service, std::ostream& standardOutput)
    : isEnabled_(service.isEnabled())
    , service_(service)
    , standardOutput_(standardOutput) {}

void LaunchAtLogin::setEnabled(bool enabled) {
    if (enabled == isEnabled_.value()) {
        return;
    }
    isEnabled_.set(enabled);
    if (enabled) {
        registerItem();
    } else {
        unregisterItem();
    }
}

Subscription LaunchAtLogin::subscribe(std::function<void(const bool&)> handler) {
    return isEnabled_.subscribe(std::move(handler));
}

Subscription LaunchAtLogin::subscribeToAboutToChange(std::function<void()> handler) {
    return isEnabled_.subscribeToAboutToChange(std::move(handler));
}

// An item that is already there is taken away first, so that it ends up pointing at this executable.
void LaunchAtLogin::registerItem() {
    if (service_.isEnabled()) {
        if (const auto error = service_.unregisterItem()) {
            reportFailure("Failed to register launch at login: ", *error);
            return;
        }
    }
    if (const auto error = service_.registerItem()) {
        reportFailure("Failed to register launch at login: ", *error);
    }
}

void LaunchAtLogin::unregisterItem() {
    if (const auto error = service_.unregisterItem()) {
        reportFailure("Failed to unregister launch at login: ", *error);
    }
}

// The switch must not claim a login start that will not happen (nor deny one that will): after a
// failure it shows what the item now is.
void LaunchAtLogin::reportFailure(const char* what, const std::string& error) {
    standardOutput_ << what << error << std::endl;
    if (const bool itemEnabled = service_.isEnabled(); itemEnabled != isEnabled_.value()) {
        isEnabled_.set(itemEnabled);
    }
}

} // namespace driftmark
