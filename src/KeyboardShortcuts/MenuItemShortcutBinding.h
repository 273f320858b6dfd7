#pragma once

#include "KeyboardShortcuts/Name.h"
#include "KeyboardShortcuts/NotificationCenter.h"
#include "KeyboardShortcuts/Shortcut.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace driftmark {
class KeyEquivalentMenuItem;
}

namespace driftmark::KeyboardShortcuts {

class Module;

// Shows a shortcut on a menu item, and with setShortcutFor keeps showing a name's current shortcut:
// a change of it reaches the item one main-queue turn later.
class MenuItemShortcutBinding {
public:
    MenuItemShortcutBinding(Module& shortcuts, KeyEquivalentMenuItem& item);
    ~MenuItemShortcutBinding();
    MenuItemShortcutBinding(const MenuItemShortcutBinding&) = delete;
    MenuItemShortcutBinding& operator=(const MenuItemShortcutBinding&) = delete;

    // Shows the shortcut once; nothing shows none. Keypad keys cannot be shown and show none.
    void setShortcut(const std::optional<Shortcut>& shortcut);
    // Follows the name from now on, replacing any name followed before; nothing shows none and stops
    // following.
    void setShortcutFor(const std::optional<Name>& name);

private:
    void stopFollowing();

    Module& shortcuts_;
    KeyEquivalentMenuItem& item_;
    std::optional<NotificationCenter::ObserverToken> observer_;
    // Tells queued updates whether the name they were queued for is still the one followed.
    std::uint64_t following_ = 0;
    std::shared_ptr<const bool> lifetime_ = std::make_shared<const bool>(true);
};

} // namespace driftmark::KeyboardShortcuts
