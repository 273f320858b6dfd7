#pragma once

#include "platform/KeyEventPoster.h"

#include <cstdint>

namespace driftmark {

// A keyboard's modifier state as Wayland sends it: masks in the keymap's own modifier bits, and the
// layout group.
struct ModifierState {
    std::uint32_t depressed = 0;
    std::uint32_t latched = 0;
    std::uint32_t locked = 0;
    std::uint32_t group = 0;

    bool operator==(const ModifierState&) const = default;
};

// The keymap's bits for the modifiers a synthesised chord may carry; 0 where the keymap has none.
struct ModifierMasks {
    std::uint32_t shift = 0;
    std::uint32_t control = 0;
    std::uint32_t alt = 0;
};

// The modifiers of a chord's flags. Command stands for Control, the modifier of the Linux paste chord;
// Caps Lock and Fn are no modifiers a chord holds.
inline std::uint32_t chordModifierMask(std::uint64_t flags, const ModifierMasks& masks) {
    std::uint32_t mask = 0;
    if ((flags & (keyEventFlagCommand | keyEventFlagControl)) != 0) {
        mask |= masks.control;
    }
    if ((flags & keyEventFlagShift) != 0) {
        mask |= masks.shift;
    }
    if ((flags & keyEventFlagOption) != 0) {
        mask |= masks.alt;
    }
    return mask;
}

// The state a chord is typed in: exactly its own modifiers held, none latched. Locks and the layout stay
// as they are, since they are toggles rather than keys held for the chord.
inline ModifierState chordModifierState(const ModifierState& current, std::uint64_t flags,
                                        const ModifierMasks& masks) {
    return ModifierState{chordModifierMask(flags, masks), 0, current.locked, current.group};
}

} // namespace driftmark
