#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct xkb_keymap;

namespace driftmark::xkbKeyCaps {

// Of the keymap's layouts, `active` when it is ASCII-capable (it types a Latin letter on the A key), else
// the first that is; absent when none is.
std::optional<std::uint32_t> asciiCapableLayout(xkb_keymap* keymap, std::uint32_t active);

// What the key of this X key code types in `layout` with no modifier held, as printed on the key cap.
// Absent when the key has no symbol there; a key whose symbol types nothing, such as a dead key, gives
// an empty text.
std::optional<std::string> keyCapText(xkb_keymap* keymap, std::uint32_t layout, std::uint32_t xKeyCode);

// The keymap of the virtual key code, in the ASCII-capable layout nearest to `active`.
std::optional<std::string> keyCapTextForVirtualKey(xkb_keymap* keymap, std::uint32_t active,
                                                   std::uint16_t virtualKey);

} // namespace driftmark::xkbKeyCaps
