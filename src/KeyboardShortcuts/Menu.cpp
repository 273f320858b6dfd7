#include "KeyboardShortcuts/Menu.h"

#include "KeyboardShortcuts/ShortcutText.h"
#include "KeyboardShortcuts/UnicodeText.h"

namespace driftmark::KeyboardShortcuts {

namespace {

const MenuItem* search(const Menu& menu, ModifierFlags modifiers, const std::string& key) {
    for (const MenuItem& item : menu.items) {
        std::string keyEquivalent = item.keyEquivalent;
        ModifierFlags mask = item.keyEquivalentModifierMask;
        if (modifiers.contains(ModifierFlags::shift)) {
            std::string lower = lowercased(keyEquivalent);
            if (lower != keyEquivalent) {
                keyEquivalent = std::move(lower);
                mask = mask | ModifierFlags::shift;
            }
        }
        if (keyEquivalent == key && mask == modifiers) {
            return &item;
        }
        if (item.submenu) {
            if (const MenuItem* found = search(*item.submenu, modifiers, key)) {
                return found;
            }
        }
    }
    return nullptr;
}

} // namespace

const MenuItem* menuItemWithMatchingShortcut(const Shortcut& shortcut, const Menu& menu,
                                             const KeyboardLayout& layout) {
    const auto key = nsMenuItemKeyEquivalent(shortcut, layout);
    if (!key) {
        return nullptr;
    }
    return search(menu, shortcut.modifiers(), *key);
}

} // namespace driftmark::KeyboardShortcuts
