#pragma once

#include "KeyboardShortcuts/Shortcut.h"

#include <optional>
#include <string>
#include <string_view>

namespace driftmark::KeyboardShortcuts {

// The stored form: {"carbonKeyCode":40,"carbonModifiers":256}, compact, key code first.
std::string encodeJson(const Shortcut& shortcut);
// Both members must be integers; other members are ignored, and the numbers are taken as they are.
std::optional<Shortcut> decodeJson(std::string_view json);

} // namespace driftmark::KeyboardShortcuts
