#include "platform/linux/keys/X11KeyTranslation.h"

#include <array>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <set>

namespace driftmark {
namespace {

constexpr std::uint16_t mod2 = 1U << 4; // Num Lock on every common keymap
constexpr std::uint16_t mod3 = 1U << 5;
constexpr std::uint16_t mod5 = 1U << 7;

TEST(X11KeyTranslation, HotKeyModifiersGrabTheMatchingXModifiers) {
    EXPECT_EQ(xModifiersForHotKey(0), 0);
    EXPECT_EQ(xModifiersForHotKey(0x100), xMod4Mask) << "Command is Super";
    EXPECT_EQ(xModifiersForHotKey(0x200), xShiftMask);
    EXPECT_EQ(xModifiersForHotKey(0x800), xMod1Mask) << "Option is Alt";
    EXPECT_EQ(xModifiersForHotKey(0x1000), xControlMask);
    EXPECT_EQ(xModifiersForHotKey(0x1000 | 0x200), xControlMask | xShiftMask);
    EXPECT_EQ(xModifiersForHotKey(0x1000 | 0x800 | 0x200 | 0x100),
              xControlMask | xMod1Mask | xShiftMask | xMod4Mask);
}

TEST(X11KeyTranslation, ModifiersThatXCannotGrabRefuseTheHotKey) {
    EXPECT_FALSE(xModifiersForHotKey(0x20000)) << "Fn";
    EXPECT_FALSE(xModifiersForHotKey(0x100 | 0x20000)) << "Command and Fn";
    EXPECT_FALSE(xModifiersForHotKey(0x400)) << "Caps Lock is a lock, grabbed in every state anyway";
    EXPECT_FALSE(xModifiersForHotKey(0x4000));
}

TEST(X11KeyTranslation, KeyEventStateGivesHotKeyModifiersWithCapsLock) {
    EXPECT_EQ(hotKeyModifiersForX(0), 0U);
    EXPECT_EQ(hotKeyModifiersForX(xMod4Mask), 0x100U);
    EXPECT_EQ(hotKeyModifiersForX(xShiftMask), 0x200U);
    EXPECT_EQ(hotKeyModifiersForX(xLockMask), 0x400U);
    EXPECT_EQ(hotKeyModifiersForX(xMod1Mask), 0x800U);
    EXPECT_EQ(hotKeyModifiersForX(xControlMask), 0x1000U);
    // Num Lock, AltGr and pointer buttons have no hot-key bit.
    EXPECT_EQ(hotKeyModifiersForX(mod2 | mod3 | mod5 | 0x100 | 0x400), 0U);
    EXPECT_EQ(hotKeyModifiersForX(xControlMask | xShiftMask | mod2 | 0x100), 0x1200U);
}

TEST(X11KeyTranslation, EveryGrabbableCombinationSurvivesTheRoundTrip) {
    // Bit i of a combination picks the i-th of Command, Shift, Option and Control.
    const auto hotKeyBits = [](std::uint32_t combination) {
        std::uint32_t bits = 0;
        for (const std::uint32_t bit : {0, 1, 2, 3}) {
            bits |= (combination & (1U << bit)) != 0 ? std::array{0x100U, 0x200U, 0x800U, 0x1000U}[bit] : 0;
        }
        return bits;
    };
    std::set<std::uint16_t> grabs;
    for (std::uint32_t combination = 0; combination < 16; ++combination) {
        const auto x = xModifiersForHotKey(hotKeyBits(combination));
        ASSERT_TRUE(x) << combination;
        EXPECT_EQ(hotKeyModifiersForX(*x), hotKeyBits(combination));
        grabs.insert(*x);
    }
    EXPECT_EQ(grabs.size(), 16U) << "different combinations never share a grab";
}

TEST(X11KeyTranslation, AHotKeyIsGrabbedForEveryLockCombination) {
    const std::uint16_t controlShift = xControlMask | xShiftMask;
    EXPECT_THAT(lockCombinations(controlShift, 0), testing::ElementsAre(controlShift));
    EXPECT_THAT(lockCombinations(controlShift, xLockMask | mod2),
                testing::ElementsAre(controlShift, controlShift | xLockMask, controlShift | mod2,
                                     controlShift | xLockMask | mod2));

    // Caps Lock, Num Lock and Scroll Lock on three modifiers: every one of the eight states.
    const auto all = lockCombinations(xMod4Mask, xLockMask | mod2 | mod3);
    ASSERT_EQ(all.size(), 8U);
    EXPECT_EQ(all.front(), xMod4Mask);
    EXPECT_EQ(std::set<std::uint16_t>(all.begin(), all.end()).size(), 8U);
    for (const std::uint16_t modifiers : all) {
        EXPECT_EQ(modifiers & ~(xLockMask | mod2 | mod3), xMod4Mask) << modifiers;
    }
}

TEST(X11KeyTranslation, LocksAmongTheModifiersAndPointerButtonsAddNoCombinations) {
    // A keymap that puts Num Lock on Mod4: Command held already covers it.
    EXPECT_THAT(lockCombinations(xMod4Mask, xLockMask | xMod4Mask),
                testing::ElementsAre(xMod4Mask, xMod4Mask | xLockMask));
    // Bits above the eight modifiers are pointer buttons, never locks.
    EXPECT_THAT(lockCombinations(xControlMask, xLockMask | 0x100),
                testing::ElementsAre(xControlMask, xControlMask | xLockMask));
}

} // namespace
} // namespace driftmark
