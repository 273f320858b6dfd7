#include "fakes/FakeWorkspace.h"

namespace driftmark::test {

bool FakeWorkspace::activate(const RunningApplication& application) {
    activated.push_back(application);
    timeline_.record("workspace", "activate " + application.localizedName.value_or("<unnamed>"));
    if (!activationSucceeds) {
        return false;
    }
    if (activationDelay) {
        mainQueue_.asyncAfter(*activationDelay, [this, application] { bringToFront(application); });
    } else {
        bringToFront(application);
    }
    return true;
}

void FakeWorkspace::bringToFront(const RunningApplication& application) {
    frontmost = application;
    if (activeChanged_) {
        // A copy: the listener may replace itself.
        const std::function<void()> changed = activeChanged_;
        changed();
    }
}

} // namespace driftmark::test
