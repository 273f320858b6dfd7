#pragma once

#include "platform/Workspace.h"

#include <memory>

namespace driftmark {

// Applications as the window manager sees them through EWMH, on Qt's X connection: the frontmost
// application is the active window, named by its WM_CLASS. A window of this process reports this
// process's identifier.
class EwmhWorkspace final : public Workspace {
public:
    EwmhWorkspace();
    ~EwmhWorkspace() override;
    EwmhWorkspace(const EwmhWorkspace&) = delete;
    EwmhWorkspace& operator=(const EwmhWorkspace&) = delete;

    std::optional<RunningApplication> frontmostApplication() const override;
    // Asks the window manager to activate the application's window, as a pager would.
    bool activate(const RunningApplication& application) override;
    std::optional<std::string> ownBundleIdentifier() const override;

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace driftmark
