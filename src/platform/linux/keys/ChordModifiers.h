#pragma once

#include "platform/KeyEventPoster.h"

#include <cstdint>

namespace driftmark {

// The modifiers a synthesised chord holds, whichever way they are then typed.
struct ChordModifiers {
    bool control = false;
    bool shift = false;
    bool alt = false;

    bool operator==(const ChordModifiers&) const = default;
};

// The modifiers of a chord's flags. Command stands for Control, the modifier of the Linux paste chord;
// Caps Lock and Fn are no modifiers a chord holds.
inline constexpr ChordModifiers chordModifiers(std::uint64_t flags) {
    return ChordModifiers{
        .control = (flags & (keyEventFlagCommand | keyEventFlagControl)) != 0,
        .shift = (flags & keyEventFlagShift) != 0,
        .alt = (flags & keyEventFlagOption) != 0,
    };
}

} // namespace driftmark
