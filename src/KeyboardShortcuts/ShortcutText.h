#pragma once

#include "KeyboardShortcuts/Shortcut.h"

#include <cstdint>
#include <optional>
#include <string>

namespace driftmark {
class KeyboardLayout;
}

namespace driftmark::KeyboardShortcuts {

// The single character the layout prints on the key, unshifted. None for special keys (they have
// symbols), for codes outside 0…65535, and when the layout gives no text or more than one character.
std::optional<std::string> keyToCharacter(std::int64_t keyCode, const KeyboardLayout& layout);

// Modifier symbols followed by the key's symbol or its title-cased character, e.g. "⇧⌘K"; "�" stands in
// for a key the layout cannot show.
std::string presentableDescription(const Shortcut& shortcut, const KeyboardLayout& layout);

// The key part of a menu item showing the shortcut; none for keypad keys and unprintable keys.
std::optional<std::string> nsMenuItemKeyEquivalent(const Shortcut& shortcut, const KeyboardLayout& layout);

} // namespace driftmark::KeyboardShortcuts
