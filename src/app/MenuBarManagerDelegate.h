#pragma once

#include "model/MenuBarItem.h"
#include "platform/Workspace.h"

#include <optional>

namespace driftmark {

// What the status items ask of the application: copies, pastes and the windows.
class MenuBarManagerDelegate {
public:
    virtual ~MenuBarManagerDelegate() = default;
    virtual void menuBarItemLeftClicked(const MenuBarItem& item,
                                        const std::optional<RunningApplication>& previousApp) = 0;
    virtual void copyToClipboard(const MenuBarItem& item, bool smartPaste) = 0;
    virtual void editMenuItem(const MenuBarItem& item) = 0;
    virtual void openSettings() = 0;
    virtual void openAbout() = 0;
};

} // namespace driftmark
