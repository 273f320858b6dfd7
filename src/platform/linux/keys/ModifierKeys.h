#pragma once

#include <cstdint>
#include <optional>
#include <vector>

struct xcb_connection_t;

namespace driftmark {

// The keys that the X server's modifier map binds to modifiers, and which of them are down.
struct ModifierKeys {
    // Modifier keys down at the moment of the query, in modifier-map order. Lock and Num Lock keys are
    // left out: pressing one again would toggle its lock.
    std::vector<std::uint8_t> held;
    // The first key bound to Shift, Control and Mod1 (Alt); absent when nothing is bound.
    std::optional<std::uint8_t> shift;
    std::optional<std::uint8_t> control;
    std::optional<std::uint8_t> alt;

    // Empty when the server does not answer.
    static ModifierKeys query(xcb_connection_t* connection);
};

} // namespace driftmark
