#include "platform/linux/keys/KeyPositions.h"

#include <gtest/gtest.h>
#include <set>
#include <string_view>

namespace driftmark {
namespace {

struct ExpectedPosition {
    std::string_view name;
    int virtualKey;
    int evdevCode;
};

// Written out by hand, key by key: the macOS virtual key code (kVK_*) and the Linux evdev code (KEY_*)
// of the key at the same place on a keyboard, both as plain numbers. Help sits where a PC keyboard has
// Insert, keypad Clear where it has Num Lock; Fn has no evdev key and is left out.
constexpr ExpectedPosition expectedPositions[] = {
    {"A", 0x00, 30},
    {"S", 0x01, 31},
    {"D", 0x02, 32},
    {"F", 0x03, 33},
    {"H", 0x04, 35},
    {"G", 0x05, 34},
    {"Z", 0x06, 44},
    {"X", 0x07, 45},
    {"C", 0x08, 46},
    {"V", 0x09, 47},
    {"B", 0x0B, 48},
    {"Q", 0x0C, 16},
    {"W", 0x0D, 17},
    {"E", 0x0E, 18},
    {"R", 0x0F, 19},
    {"Y", 0x10, 21},
    {"T", 0x11, 20},
    {"1", 0x12, 2},
    {"2", 0x13, 3},
    {"3", 0x14, 4},
    {"4", 0x15, 5},
    {"6", 0x16, 7},
    {"5", 0x17, 6},
    {"=", 0x18, 13},
    {"9", 0x19, 10},
    {"7", 0x1A, 8},
    {"-", 0x1B, 12},
    {"8", 0x1C, 9},
    {"0", 0x1D, 11},
    {"]", 0x1E, 27},
    {"O", 0x1F, 24},
    {"U", 0x20, 22},
    {"[", 0x21, 26},
    {"I", 0x22, 23},
    {"P", 0x23, 25},
    {"Return", 0x24, 28},
    {"L", 0x25, 38},
    {"J", 0x26, 36},
    {"'", 0x27, 40},
    {"K", 0x28, 37},
    {";", 0x29, 39},
    {"\\", 0x2A, 43},
    {",", 0x2B, 51},
    {"/", 0x2C, 53},
    {"N", 0x2D, 49},
    {"M", 0x2E, 50},
    {".", 0x2F, 52},
    {"Tab", 0x30, 15},
    {"Space", 0x31, 57},
    {"`", 0x32, 41},
    {"Backspace", 0x33, 14},
    {"Escape", 0x35, 1},
    {"right Super", 0x36, 126},
    {"left Super", 0x37, 125},
    {"left Shift", 0x38, 42},
    {"Caps Lock", 0x39, 58},
    {"left Alt", 0x3A, 56},
    {"left Control", 0x3B, 29},
    {"right Shift", 0x3C, 54},
    {"right Alt", 0x3D, 100},
    {"right Control", 0x3E, 97},
    {"F17", 0x40, 187},
    {"keypad .", 0x41, 83},
    {"keypad *", 0x43, 55},
    {"keypad +", 0x45, 78},
    {"keypad Clear / Num Lock", 0x47, 69},
    {"Volume Up", 0x48, 115},
    {"Volume Down", 0x49, 114},
    {"Mute", 0x4A, 113},
    {"keypad /", 0x4B, 98},
    {"keypad Enter", 0x4C, 96},
    {"keypad -", 0x4E, 74},
    {"F18", 0x4F, 188},
    {"F19", 0x50, 189},
    {"keypad =", 0x51, 117},
    {"keypad 0", 0x52, 82},
    {"keypad 1", 0x53, 79},
    {"keypad 2", 0x54, 80},
    {"keypad 3", 0x55, 81},
    {"keypad 4", 0x56, 75},
    {"keypad 5", 0x57, 76},
    {"keypad 6", 0x58, 77},
    {"keypad 7", 0x59, 71},
    {"F20", 0x5A, 190},
    {"keypad 8", 0x5B, 72},
    {"keypad 9", 0x5C, 73},
    {"F5", 0x60, 63},
    {"F6", 0x61, 64},
    {"F7", 0x62, 65},
    {"F3", 0x63, 61},
    {"F8", 0x64, 66},
    {"F9", 0x65, 67},
    {"F11", 0x67, 87},
    {"F13", 0x69, 183},
    {"F16", 0x6A, 186},
    {"F14", 0x6B, 184},
    {"F10", 0x6D, 68},
    {"F12", 0x6F, 88},
    {"F15", 0x71, 185},
    {"Help / Insert", 0x72, 110},
    {"Home", 0x73, 102},
    {"Page Up", 0x74, 104},
    {"forward Delete", 0x75, 111},
    {"F4", 0x76, 62},
    {"End", 0x77, 107},
    {"F2", 0x78, 60},
    {"Page Down", 0x79, 109},
    {"F1", 0x7A, 59},
    {"Left", 0x7B, 105},
    {"Right", 0x7C, 106},
    {"Down", 0x7D, 108},
    {"Up", 0x7E, 103},
};

constexpr int xOffset = 8;

TEST(KeyPositionTable, EveryKeyLandsOnItsEvdevPositionBothWaysAndNoOtherKeyHasOne) {
    std::set<int> virtualKeys;
    for (const ExpectedPosition& expected : expectedPositions) {
        SCOPED_TRACE(testing::Message() << expected.name << " (virtual key " << expected.virtualKey << ")");
        ASSERT_TRUE(virtualKeys.insert(expected.virtualKey).second) << "listed twice";
        const auto xKeyCode = xKeyCodeForVirtualKey(expected.virtualKey);
        ASSERT_TRUE(xKeyCode.has_value());
        EXPECT_EQ(int{*xKeyCode}, expected.evdevCode + xOffset);
        EXPECT_EQ(virtualKeyForXKeyCode(static_cast<std::uint8_t>(expected.evdevCode + xOffset)),
                  expected.virtualKey);
    }
    EXPECT_EQ(std::size(expectedPositions), keyPositions.size());

    // Everything else, Fn (0x3F) and the ISO and JIS keys included, has no position.
    for (int virtualKey = -1; virtualKey <= 0x100; ++virtualKey) {
        if (!virtualKeys.contains(virtualKey)) {
            EXPECT_FALSE(xKeyCodeForVirtualKey(virtualKey).has_value()) << "virtual key " << virtualKey;
        }
    }
    std::set<int> xKeyCodes;
    for (const ExpectedPosition& expected : expectedPositions) {
        xKeyCodes.insert(expected.evdevCode + xOffset);
    }
    for (int xKeyCode = 0; xKeyCode <= 0xFF; ++xKeyCode) {
        if (!xKeyCodes.contains(xKeyCode)) {
            EXPECT_FALSE(virtualKeyForXKeyCode(static_cast<std::uint8_t>(xKeyCode)).has_value())
                << "X key code " << xKeyCode;
        }
    }
}

} // namespace
} // namespace driftmark
