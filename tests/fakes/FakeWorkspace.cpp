#include "fakes/FakeWorkspace.h"

namespace driftmark::test {

bool FakeWorkspace::activate(const RunningApplication& application) {
    activated.push_back(application);
    timeline_.record("workspace", "activate " + application.localizedName.value_or("<unnamed>"));
    if (activationSucceeds) {
        frontmost = application;
    }
    return activationSucceeds;
}

} // namespace driftmark::test
