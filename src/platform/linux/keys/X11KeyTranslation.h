#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace driftmark {

// Modifier bits of the core X protocol, as key events and key grabs carry them. Every common keymap binds
// Alt to Mod1 and Super to Mod4.
inline constexpr std::uint16_t xShiftMask = 1U << 0;
inline constexpr std::uint16_t xLockMask = 1U << 1;
inline constexpr std::uint16_t xControlMask = 1U << 2;
inline constexpr std::uint16_t xMod1Mask = 1U << 3;
inline constexpr std::uint16_t xMod4Mask = 1U << 6;
// The eight modifiers of an event's state; the bits above them are pointer buttons.
inline constexpr std::uint16_t xModifierBits = 0xFF;

// Hot-key modifier bits.
inline constexpr std::uint32_t hotKeyCommand = 0x100;
inline constexpr std::uint32_t hotKeyShift = 0x200;
inline constexpr std::uint32_t hotKeyCapsLock = 0x400;
inline constexpr std::uint32_t hotKeyOption = 0x800;
inline constexpr std::uint32_t hotKeyControl = 0x1000;

// The X modifiers that a hot key with these modifier bits is grabbed with; absent when a bit names a
// modifier that X cannot grab, such as Fn.
constexpr std::optional<std::uint16_t> xModifiersForHotKey(std::uint32_t modifiers) {
    constexpr std::uint32_t grabbable = hotKeyCommand | hotKeyShift | hotKeyOption | hotKeyControl;
    if ((modifiers & ~grabbable) != 0) {
        return std::nullopt;
    }
    std::uint16_t mask = 0;
    mask |= (modifiers & hotKeyCommand) != 0 ? xMod4Mask : 0;
    mask |= (modifiers & hotKeyShift) != 0 ? xShiftMask : 0;
    mask |= (modifiers & hotKeyOption) != 0 ? xMod1Mask : 0;
    mask |= (modifiers & hotKeyControl) != 0 ? xControlMask : 0;
    return mask;
}

// The hot-key modifier bits of an X key event's state, Caps Lock included.
constexpr std::uint32_t hotKeyModifiersForX(std::uint16_t state) {
    std::uint32_t modifiers = 0;
    modifiers |= (state & xMod4Mask) != 0 ? hotKeyCommand : 0;
    modifiers |= (state & xShiftMask) != 0 ? hotKeyShift : 0;
    modifiers |= (state & xLockMask) != 0 ? hotKeyCapsLock : 0;
    modifiers |= (state & xMod1Mask) != 0 ? hotKeyOption : 0;
    modifiers |= (state & xControlMask) != 0 ? hotKeyControl : 0;
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
