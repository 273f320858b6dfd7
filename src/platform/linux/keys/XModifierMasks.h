#pragma once

#include <bit>
#include <cstdint>
#include <xcb/xproto.h>

namespace driftmark {

// Modifier bits of the core X protocol, as key events, key grabs and the modifier map carry them. Every
// common keymap binds Alt to Mod1, Num Lock to Mod2 and Super to Mod4.
inline constexpr std::uint16_t xShiftMask = XCB_MOD_MASK_SHIFT;
inline constexpr std::uint16_t xLockMask = XCB_MOD_MASK_LOCK;
inline constexpr std::uint16_t xControlMask = XCB_MOD_MASK_CONTROL;
inline constexpr std::uint16_t xMod1Mask = XCB_MOD_MASK_1;
inline constexpr std::uint16_t xMod2Mask = XCB_MOD_MASK_2;
inline constexpr std::uint16_t xMod4Mask = XCB_MOD_MASK_4;

// The modifier map has a row of keys for each of the eight modifiers, in the order of their bits.
inline constexpr int xModifierRows = 8;
// The eight modifiers of an event's state; the bits above them are pointer buttons.
inline constexpr std::uint16_t xModifierBits = (1U << xModifierRows) - 1;

constexpr std::uint16_t xModifierOfRow(int row) {
    return static_cast<std::uint16_t>(1U << row);
}

// The row of a single modifier bit.
constexpr int xModifierRow(std::uint16_t modifier) {
    return std::countr_zero(modifier);
}

} // namespace driftmark
