#pragma once

#include "fakes/ManualMainQueue.h"
#include "fakes/Timeline.h"
#include "platform/SystemLog.h"
#include "platform/Workspace.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace driftmark::test {

// A settable frontmost and previous application. A successful activation makes the application frontmost,
// at once or after a set delay, and tells the listener; activations go on the timeline as
// "workspace: activate <name>".
class FakeWorkspace final : public Workspace {
public:
    FakeWorkspace(Timeline& timeline, ManualMainQueue& mainQueue)
        : timeline_(timeline)
        , mainQueue_(mainQueue) {}

    std::optional<RunningApplication> frontmostApplication() const override { return frontmost; }
    bool activate(const RunningApplication& application) override;
    std::optional<std::string> ownBundleIdentifier() const override { return ownIdentifier; }
    std::optional<RunningApplication> previousApplication() const override { return previous; }
    void notifyOnActiveChange(std::function<void()> changed) override { activeChanged_ = std::move(changed); }

    // The desktop makes the application the active one, and says so.
    void bringToFront(const RunningApplication& application);
    bool hasActiveChangeListener() const { return static_cast<bool>(activeChanged_); }

    std::optional<RunningApplication> frontmost;
    // What the desktop last had active besides this process; set by tests, not by activations.
    std::optional<RunningApplication> previous;
    bool activationSucceeds = true;
    // How long a successful activation takes to show; absent, it shows at once.
    std::optional<double> activationDelay;
    std::optional<std::string> ownIdentifier = std::string(applicationId);
    std::vector<RunningApplication> activated;

private:
    Timeline& timeline_;
    ManualMainQueue& mainQueue_;
    std::function<void()> activeChanged_;
};

} // namespace driftmark::test
