#pragma once

#include "fakes/Timeline.h"
#include "platform/SystemLog.h"
#include "platform/Workspace.h"

#include <optional>
#include <string>
#include <vector>

namespace driftmark::test {

// A settable frontmost and previous application. A successful activation makes the application frontmost;
// activations go on the timeline as "workspace: activate <name>".
class FakeWorkspace final : public Workspace {
public:
    explicit FakeWorkspace(Timeline& timeline)
        : timeline_(timeline) {}

    std::optional<RunningApplication> frontmostApplication() const override { return frontmost; }
    bool activate(const RunningApplication& application) override;
    std::optional<std::string> ownBundleIdentifier() const override { return ownIdentifier; }
    std::optional<RunningApplication> previousApplication() const override { return previous; }

    std::optional<RunningApplication> frontmost;
    // What the desktop last had active besides this process; set by tests, not by activations.
    std::optional<RunningApplication> previous;
    bool activationSucceeds = true;
    std::optional<std::string> ownIdentifier = std::string(applicationId);
    std::vector<RunningApplication> activated;

private:
    Timeline& timeline_;
};

} // namespace driftmark::test
