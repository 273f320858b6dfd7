#pragma once

#include "platform/Workspace.h"

#include <QAbstractNativeEventFilter>
#include <functional>
#include <memory>

namespace driftmark {

class X11Context;

// Applications as the window manager sees them through EWMH, on Qt's X connection: the frontmost
// application is the active window, named by its WM_CLASS. A window of this process reports this
// process's identifier. The previous application follows the root window's _NET_ACTIVE_WINDOW as it
// changes, skipping this process's windows, panels and the desktop; each change is told to a listener.
class EwmhWorkspace final : public Workspace, private QAbstractNativeEventFilter {
public:
    // Knows no application without an X connection; the context must outlive the workspace.
    explicit EwmhWorkspace(const X11Context& x11);
    ~EwmhWorkspace() override;
    EwmhWorkspace(const EwmhWorkspace&) = delete;
    EwmhWorkspace& operator=(const EwmhWorkspace&) = delete;

    std::optional<RunningApplication> frontmostApplication() const override;
    // Asks the window manager to activate the application's window, as a pager would.
    bool activate(const RunningApplication& application) override;
    std::optional<std::string> ownBundleIdentifier() const override;
    std::optional<RunningApplication> previousApplication() const override;
    void notifyOnActiveChange(std::function<void()> changed) override;

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    void activeWindowChanged();

    struct State;
    std::unique_ptr<State> state_; // absent without EWMH
    std::function<void()> activeChanged_;
};

} // namespace driftmark
