#pragma once

#include "KeyboardShortcuts/ModifierFlags.h"
#include "KeyboardShortcuts/Shortcut.h"

#include <optional>
#include <string>
#include <vector>

namespace driftmark {
class KeyboardLayout;
}

namespace driftmark::KeyboardShortcuts {

struct MenuItem;

// What a menu offers, as far as shortcuts are concerned: its items in order, with their submenus.
struct Menu {
    std::vector<MenuItem> items;
};

struct MenuItem {
    std::string title;
    // The character the item's shortcut uses; an upper-case letter implies Shift. Empty without a shortcut.
    std::string keyEquivalent;
    ModifierFlags keyEquivalentModifierMask;
    std::optional<Menu> submenu;
};

// The first item, depth first in item order, whose shortcut is this one; none when no item uses it.
// The result points into menu.
const MenuItem* menuItemWithMatchingShortcut(const Shortcut& shortcut, const Menu& menu,
                                             const KeyboardLayout& layout);

} // namespace driftmark::KeyboardShortcuts
