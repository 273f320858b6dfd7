#pragma once

#include "KeyboardShortcuts/Shortcut.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace driftmark::KeyboardShortcuts {

// One registration of a shortcut with the hot-key service.
struct HotKey {
    Shortcut shortcut;
    std::uint32_t carbonHotKeyId = 0;
    // None while suspended.
    std::optional<std::uint64_t> carbonHotKey;
    std::function<void(const Shortcut&)> onKeyDown;
    std::function<void(const Shortcut&)> onKeyUp;
};

// The module's global switches, read by the hot-key table to choose how keys are delivered.
struct Switches {
    bool isEnabled = true;
    // While a recorder records: keys are still taken from other applications but run nothing.
    bool isPaused = false;
    bool isMenuOpen = false;
};

} // namespace driftmark::KeyboardShortcuts
