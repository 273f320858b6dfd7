#pragma once

#include "model/MenuBarItem.h"
#include "platform/StatusBar.h"
#include "platform/Workspace.h"

#include <functional>
#include <optional>

namespace driftmark {

// Where the entries of an item's context menu lead. The item handed to copy, paste and edit is the
// copy taken when the menu was built.
struct StatusItemMenuActions {
    std::function<void(const MenuBarItem&)> copy;
    std::function<void(const MenuBarItem&)> paste;
    std::function<void(const MenuBarItem&)> edit;
    std::function<void()> openSettings;
    std::function<void()> openAbout;
    std::function<void()> quit;
};

// The context menu of one item's status button. The paste entry appears only for a Smart Paste item
// with a remembered application. `itemShortcut` shows the item's own shortcut beside the entry that
// does what the shortcut does: the paste entry when there is one, the copy entry otherwise.
Menu makeStatusItemMenu(const MenuBarItem& item, const std::optional<RunningApplication>& previousApp,
                        const StatusItemMenuActions& actions, const ShownKeyEquivalent& itemShortcut = {});

} // namespace driftmark
