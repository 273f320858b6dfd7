#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace driftmark {

class KeyboardLayout;

// The trigger a global-shortcuts portal is asked for, in the freedesktop shortcuts format: the modifiers
// CTRL, ALT, SHIFT and LOGO, always in this order, each followed by "+", then the xkb name of the key's
// keysym ("CTRL+SHIFT+u", "LOGO+Return"). Command is LOGO (Super), Option is ALT. A key that types text is
// named by what the user's layout types with it, so the trigger is the key the user sees; keys that type
// nothing have fixed names. Absent when the combination has no trigger: Fn (or another bit that is no
// modifier of a registration), a key without a position or a name.
std::optional<std::string> portalShortcutTrigger(std::uint32_t keyCode, std::uint32_t modifiers,
                                                 const KeyboardLayout& layout);

} // namespace driftmark
