#pragma once

#include "model/Observable.h"
#include "model/Subscription.h"

#include <functional>
#include <iosfwd>
#include <string>

namespace driftmark {

class LoginItemService;

// The switch that starts the program at login. The flag starts from the login item's state, read once;
// each change of it registers or unregisters the item at once. A failure prints one line on standard
// output and the flag goes back to the item's state (off when no item was written); nothing retries.
// Main thread only.
class LaunchAtLogin {
public:
    // Over the autostart entry of the running executable, built on first use.
    static LaunchAtLogin& shared();

    LaunchAtLogin(LoginItemService& service, std::ostream& standardOutput);
    LaunchAtLogin(const LaunchAtLogin&) = delete;
    LaunchAtLogin& operator=(const LaunchAtLogin&) = delete;

    bool isEnabled() const { return isEnabled_.value(); }
    // Writing the value it already has does nothing.
    void setEnabled(bool enabled);
    // Hands over the current value at once, then each new value before isEnabled() returns it.
    Subscription subscribe(std::function<void(const bool&)> handler);
    Subscription subscribeToAboutToChange(std::function<void()> handler);

private:
    void registerItem();
    void unregisterItem();
    void reportFailure(const char* what, const std::string& error);

    Observable<bool> isEnabled_;
    LoginItemService& service_;
    std::ostream& standardOutput_;
};

} // namespace driftmark
