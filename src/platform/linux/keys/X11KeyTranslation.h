#pragma once

#include "platform/HotKeyService.h"
#include "platform/linux/keys/XModifierMasks.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace driftmark {

// The X modifiers that a hot key with these hot-key modifier bits is grabbed with: Command is Super (Mod4),
// Option is Alt (Mod1). Absent when a bit names a modifier that X cannot grab, such as Fn.
constexpr std::optional<std::uint16_t> xModifiersForHotKey(std::uint32_t modifiers) {
    constexpr std::uint32_t grabbable =
        hotKeyModifierCommand | hotKeyModifierShift | hotKeyModifierOption | hotKeyModifierControl;
    if ((modifiers & ~grabbable) != 0) {
        return std::nullopt;
    }
    std::uint16_t mask = 0;
    mask |= (modifiers & hotKeyModifierCommand) != 0 ? xMod4Mask : 0;
    mask |= (modifiers & hotKeyModifierShift) != 0 ? xShiftMask : 0;
    mask |= (modifiers & hotKeyModifierOption) != 0 ? xMod1Mask : 0;
    mask |= (modifiers & hotKeyModifierControl) != 0 ? xControlMask : 0;
    return mask;
}

// The hot-key modifier bits of an X key event's state, Caps Lock included.
constexpr std::uint32_t hotKeyModifiersForX(std::uint16_t state) {
    std::uint32_t modifiers = 0;
    modifiers |= (state & xMod4Mask) != 0 ? std::uint32_t{hotKeyModifierCommand} : 0;
    modifiers |= (state & xShiftMask) != 0 ? std::uint32_t{hotKeyModifierShift} : 0;
    modifiers |= (state & xLockMask) != 0 ? std::uint32_t{hotKeyModifierCapsLock} : 0;
    modifiers |= (state & xMod1Mask) != 0 ? std::uint32_t{hotKeyModifierOption} : 0;
    modifiers |= (state & xControlMask) != 0 ? std::uint32_t{hotKeyModifierControl} : 0;
    return modifiers;
}

// X matches a grab only when the modifiers held equal the grabbed ones exactly, and a lock that is on
// counts as held. So a hot key is grabbed once for every combination of the locks: the modifier sets
// returned here, the bare modifiers first. Locks that are part of the modifiers themselves add nothing.
inline std::vector<std::uint16_t> lockCombinations(std::uint16_t modifiers, std::uint16_t lockMasks) {
    const std::uint16_t locks = lockMasks & ~modifiers & xModifierBits;
    std::vector<std::uint16_t> combinations;
    // Counts through the subsets of the lock bits in increasing order.
    std::uint16_t subset = 0;
    do {
        combinations.push_back(modifiers | subset);
        subset = static_cast<std::uint16_t>((subset - locks) & locks);
    } while (subset != 0);
    return combinations;
}

} // namespace driftmark
