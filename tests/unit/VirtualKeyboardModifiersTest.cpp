#include "platform/linux/wayland/VirtualKeyboardModifiers.h"

#include <gtest/gtest.h>

namespace driftmark {
namespace {

// Masks as a keymap other than the usual one might number its modifiers.
constexpr ModifierMasks masks{.shift = 0x1, .control = 0x20, .alt = 0x100};

TEST(VirtualKeyboardModifiers, CommandAndControlBothHoldTheKeymapsControl) {
    EXPECT_EQ(chordModifierMask(keyEventFlagCommand, masks), 0x20U);
    EXPECT_EQ(chordModifierMask(keyEventFlagControl, masks), 0x20U);
    EXPECT_EQ(chordModifierMask(keyEventFlagCommand | keyEventFlagControl, masks), 0x20U);
}

TEST(VirtualKeyboardModifiers, EachFlagHoldsItsOwnModifier) {
    EXPECT_EQ(chordModifierMask(keyEventFlagShift, masks), 0x1U);
    EXPECT_EQ(chordModifierMask(keyEventFlagOption, masks), 0x100U);
    EXPECT_EQ(chordModifierMask(keyEventFlagCommand | keyEventFlagShift, masks), 0x21U) << "Ctrl+Shift+V";
    EXPECT_EQ(chordModifierMask(0, masks), 0U) << "Return goes out with no modifiers";
}

TEST(VirtualKeyboardModifiers, LocksAndFnAreNoModifiersOfAChord) {
    EXPECT_EQ(chordModifierMask(keyEventFlagCapsLock | keyEventFlagFunction, masks), 0U);
}

TEST(VirtualKeyboardModifiers, AModifierTheKeymapLacksIsLeftOut) {
    EXPECT_EQ(chordModifierMask(keyEventFlagOption | keyEventFlagShift, ModifierMasks{.shift = 0x1}), 0x1U);
}

TEST(VirtualKeyboardModifiers, AChordHoldsExactlyItsModifiersAndKeepsLocksAndLayout) {
    const ModifierState held{
        .depressed = 0x1 | 0x100 | 0x40, .latched = 0x8, .locked = 0x2 | 0x10, .group = 1};
    EXPECT_EQ(chordModifierState(held, keyEventFlagCommand, masks),
              (ModifierState{.depressed = 0x20, .latched = 0, .locked = 0x2 | 0x10, .group = 1}))
        << "Shift, Alt and Super held, and a latch, are set aside for Ctrl+V";
    EXPECT_EQ(chordModifierState(held, 0, masks),
              (ModifierState{.depressed = 0, .latched = 0, .locked = 0x12, .group = 1}));
}

} // namespace
} // namespace driftmark
