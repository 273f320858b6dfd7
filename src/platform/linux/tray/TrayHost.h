#pragma once

#include "platform/linux/x11/X11Context.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace driftmark {

// The tray manager that icons dock into, and the visual it wants them to use.
struct TrayManager {
    xcb_window_t window = XCB_WINDOW_NONE;
    xcb_visualid_t visual = 0;
    std::uint8_t depth = 0;
    bool hasAlpha = false;

    bool operator==(const TrayManager&) const = default;
};

// Follows the owner of the screen's tray selection: the one at start, a new one announced by a MANAGER
// message on the root window, and the end of the current one (its window is destroyed).
class TrayHost {
public:
    TrayHost(const X11Context& x11, std::function<void()> managerChanged);
    TrayHost(const TrayHost&) = delete;
    TrayHost& operator=(const TrayHost&) = delete;

    const std::optional<TrayManager>& manager() const { return manager_; }
    // Asks the current manager to embed `icon`; does nothing without a manager.
    void requestDock(xcb_window_t icon) const;
    // Looks at an event from Qt's connection; calls managerChanged when the manager changed.
    void handleEvent(const xcb_generic_event_t* event);

private:
    void adopt(xcb_window_t owner);
    std::optional<TrayManager> describe(xcb_window_t window) const;
    xcb_window_t currentOwner() const;

    const X11Context& x11_;
    std::function<void()> managerChanged_;
    std::optional<TrayManager> manager_;
};

} // namespace driftmark
