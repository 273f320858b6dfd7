#include "platform/linux/keys/ChordModifiers.h"

#include <gtest/gtest.h>

namespace driftmark {
namespace {

TEST(ChordModifiers, CommandAndControlBothHoldControl) {
    EXPECT_EQ(chordModifiers(keyEventFlagCommand), (ChordModifiers{.control = true}));
    EXPECT_EQ(chordModifiers(keyEventFlagControl), (ChordModifiers{.control = true}));
    EXPECT_EQ(chordModifiers(keyEventFlagCommand | keyEventFlagControl), (ChordModifiers{.control = true}));
}

TEST(ChordModifiers, ShiftAndOptionHoldShiftAndAlt) {
    EXPECT_EQ(chordModifiers(keyEventFlagCommand | keyEventFlagShift),
              (ChordModifiers{.control = true, .shift = true}))
        << "Ctrl+Shift+V";
    EXPECT_EQ(chordModifiers(keyEventFlagOption), (ChordModifiers{.alt = true}));
    EXPECT_EQ(chordModifiers(0), ChordModifiers{}) << "Return goes out with no modifiers";
}

TEST(ChordModifiers, LocksAndFnAreNoModifiersOfAChord) {
    EXPECT_EQ(chordModifiers(keyEventFlagCapsLock | keyEventFlagFunction), ChordModifiers{});
}

} // namespace
} // namespace driftmark
