#include "platform/linux/keys/KeyPositions.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace driftmark {
namespace {

// The X key codes at these positions; -1 where a key has none.
std::vector<int> xKeyCodesOf(const std::vector<int>& virtualKeys) {
    std::vector<int> codes;
    for (const int key : virtualKeys) {
        const auto code = xKeyCodeForVirtualKey(key);
        codes.push_back(code ? *code : -1);
    }
    return codes;
}

TEST(KeyPositions, TableIsABijectionBetweenVirtualKeysAndXKeyCodes) {
    std::set<int> virtualKeys;
    std::set<int> xKeyCodes;
    for (const auto& position : keyPositions) {
        EXPECT_TRUE(virtualKeys.insert(position.virtualKey).second) << "virtual key " << position.virtualKey;
        const int xKeyCode = position.evdevCode + evdevToXKeyCodeOffset;
        EXPECT_TRUE(xKeyCodes.insert(xKeyCode).second) << "X key code " << xKeyCode;
        EXPECT_GE(xKeyCode, 8);
        EXPECT_LE(xKeyCode, 255);

        const auto forward = xKeyCodeForVirtualKey(position.virtualKey);
        ASSERT_TRUE(forward.has_value()) << position.virtualKey;
        EXPECT_EQ(virtualKeyForXKeyCode(*forward), position.virtualKey);
    }
}

TEST(KeyPositions, EveryNamedShortcutKeyButFnHasAPosition) {
    const std::vector<int> namedKeys = {
        0,  11,  8,   2,   14,  3,   5,   4,   34,  38,  40,  37,  46,  45,  31, 35, 12, 15,  1,
        17, 32,  9,   13,  7,   16,  6,   29,  18,  19,  20,  21,  23,  22,  26, 28, 25, 57,  56,
        59, 58,  55,  54,  61,  62,  60,  36,  42,  50,  43,  24,  27,  47,  39, 41, 44, 49,  48,
        33, 30,  116, 121, 115, 119, 126, 124, 125, 123, 53,  51,  117, 114, 74, 72, 73, 122, 120,
        99, 118, 96,  97,  98,  100, 101, 109, 103, 111, 105, 107, 113, 106, 64, 79, 80, 90,  82,
        83, 84,  85,  86,  87,  88,  89,  91,  92,  71,  65,  75,  76,  81,  78, 67, 69};
    for (const int key : namedKeys) {
        EXPECT_TRUE(xKeyCodeForVirtualKey(key).has_value()) << "virtual key " << key;
    }
    EXPECT_EQ(keyPositions.size(), namedKeys.size());
    EXPECT_FALSE(xKeyCodeForVirtualKey(63).has_value()) << "Fn has no X key code";
}

// Expected codes are what xev reports for the keys of a PC keyboard (xkb evdev key codes).
TEST(KeyPositions, KeysLandOnTheirPcKeyboardPositions) {
    EXPECT_EQ(xKeyCodeForVirtualKey(9), 47 + 8) << "V";
    EXPECT_EQ(xKeyCodeForVirtualKey(36), 28 + 8) << "Return";
    // Wayland's keyboards take the evdev codes themselves.
    EXPECT_EQ(evdevCodeForVirtualKey(9), 47u) << "V";
    EXPECT_EQ(evdevCodeForVirtualKey(36), 28u) << "Return";
    EXPECT_FALSE(evdevCodeForVirtualKey(63).has_value()) << "Fn";

    // The letter rows, left to right: q w e r t y u i o p / a s d f g h j k l / z x c v b n m.
    EXPECT_THAT(xKeyCodesOf({12, 13, 14, 15, 17, 16, 32, 34, 31, 35}),
                testing::ElementsAre(24, 25, 26, 27, 28, 29, 30, 31, 32, 33));
    EXPECT_THAT(xKeyCodesOf({0, 1, 2, 3, 5, 4, 38, 40, 37}),
                testing::ElementsAre(38, 39, 40, 41, 42, 43, 44, 45, 46));
    EXPECT_THAT(xKeyCodesOf({6, 7, 8, 9, 11, 45, 46}), testing::ElementsAre(52, 53, 54, 55, 56, 57, 58));
    // 1 … 9, 0 across the digit row.
    EXPECT_THAT(xKeyCodesOf({18, 19, 20, 21, 23, 22, 26, 28, 25, 29}),
                testing::ElementsAre(10, 11, 12, 13, 14, 15, 16, 17, 18, 19));
    // Escape, Tab, Space, Backspace, forward delete, Home, End, Page Up, Page Down.
    EXPECT_THAT(xKeyCodesOf({53, 48, 49, 51, 117, 115, 119, 116, 121}),
                testing::ElementsAre(9, 23, 65, 22, 119, 110, 115, 112, 117));
    // Left, right, down, up.
    EXPECT_THAT(xKeyCodesOf({123, 124, 125, 126}), testing::ElementsAre(113, 114, 116, 111));
    // F1 … F12, then F13 and F20.
    EXPECT_THAT(xKeyCodesOf({122, 120, 99, 118, 96, 97, 98, 100, 101, 109, 103, 111}),
                testing::ElementsAre(67, 68, 69, 70, 71, 72, 73, 74, 75, 76, 95, 96));
    EXPECT_THAT(xKeyCodesOf({105, 90}), testing::ElementsAre(191, 198));
    // Keypad 0, 5, 9, Enter, decimal point, Clear (Num Lock).
    EXPECT_THAT(xKeyCodesOf({82, 87, 92, 76, 65, 71}), testing::ElementsAre(90, 84, 81, 104, 91, 77));
    // Left Control, left Shift, left Alt (Option), left Super (Command).
    EXPECT_THAT(xKeyCodesOf({59, 56, 58, 55}), testing::ElementsAre(37, 50, 64, 133));
}

TEST(KeyPositions, KeysWithoutAPositionAreAbsentBothWays) {
    for (const int key : {-1, 10, 52, 63, 127, 128, 1000}) {
        EXPECT_FALSE(xKeyCodeForVirtualKey(key).has_value()) << "virtual key " << key;
    }
    for (const std::uint8_t code : {0, 7, 8, 255}) {
        EXPECT_FALSE(virtualKeyForXKeyCode(code).has_value()) << "X key code " << int{code};
    }
    EXPECT_EQ(virtualKeyForXKeyCode(55), 9);
    EXPECT_EQ(virtualKeyForXKeyCode(36), 36);
}

} // namespace
} // namespace driftmark
