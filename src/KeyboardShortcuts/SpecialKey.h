#pragma once

#include "KeyboardShortcuts/Key.h"

#include <optional>
#include <string>
#include <unordered_map>

namespace driftmark::KeyboardShortcuts {

// The keys that are shown as a symbol rather than as the character the layout prints on them.
enum class SpecialKey {
    return_,
    delete_,
    deleteForward,
    end,
    escape,
    help,
    home,
    space,
    tab,
    pageUp,
    pageDown,
    upArrow,
    rightArrow,
    downArrow,
    leftArrow,
    f1,
    f2,
    f3,
    f4,
    f5,
    f6,
    f7,
    f8,
    f9,
    f10,
    f11,
    f12,
    f13,
    f14,
    f15,
    f16,
    f17,
    f18,
    f19,
    f20,
    keypad0,
    keypad1,
    keypad2,
    keypad3,
    keypad4,
    keypad5,
    keypad6,
    keypad7,
    keypad8,
    keypad9,
    keypadClear,
    keypadDecimal,
    keypadDivide,
    keypadEnter,
    keypadEquals,
    keypadMinus,
    keypadMultiply,
    keypadPlus,
};

// Each special key from the key of the same name. A key is special exactly when it is in this table.
const std::unordered_map<Key, SpecialKey>& keyToSpecialKeyMapping();
std::optional<SpecialKey> specialKey(Key key);

// The symbol shown for the key, e.g. "↩", "F5", "3⃣"; "⎀" (Insert) for help.
std::string presentableDescription(SpecialKey key);
// What a menu item shows for the key; keypad keys have nothing to show.
std::optional<std::string> appKitMenuItemKeyEquivalent(SpecialKey key);
// The character a declarative view's keyboard shortcut uses for the key; none for keypad keys.
std::optional<std::string> swiftUIKeyEquivalent(SpecialKey key);
// 1 for F1 up to 20 for F20; none for other keys.
std::optional<int> functionKeyNumber(SpecialKey key);

} // namespace driftmark::KeyboardShortcuts
