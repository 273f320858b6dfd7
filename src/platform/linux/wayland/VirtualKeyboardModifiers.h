#pragma once

#include "platform/linux/keys/ChordModifiers.h"

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

// The keymap's bits for the modifiers of a chord's flags (see chordModifiers).
inline std::uint32_t chordModifierMask(std::uint64_t flags, const ModifierMasks& masks) {
    const ChordModifiers held = chordModifiers(flags);
    return (held.control ? masks.control : 0) | (held.shift ? masks.shift : 0) | (held.alt ? masks.alt : 0);
}

// The state a chord is typed in: exactly its own modifiers held, none latched. Locks and the layout stay
// as they are, since they are toggles rather than keys held for the chord.
inline ModifierState chordModifierState(const ModifierState& current, std::uint64_t flags,
                                        const ModifierMasks& masks) {
    return ModifierState{chordModifierMask(flags, masks), 0, current.locked, current.group};
}

} // namespace driftmark
