#include "KeyboardShortcuts/ShortcutText.h"
#include "KeyboardShortcuts/SpecialKey.h"
#include "fakes/FakeKeyboardLayout.h"
#include "platform/linux/keys/KeyPositions.h"

#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <set>
#include <string>

namespace driftmark::KeyboardShortcuts {
namespace {

struct ExpectedSpecialKey {
    SpecialKey specialKey;
    int keyCode;
    std::string symbol;
    std::optional<std::string> menuKeyEquivalent;
    std::optional<std::string> declarativeKeyEquivalent;
};

const std::optional<std::string> none;

// Written out by hand, in the order of the enumeration: the macOS virtual key code (kVK_*) of each key,
// the symbol it is shown with, what a menu shows for it and the character a declarative view matches
// (the Unicode function-key characters, e.g. U+F700 for the up arrow and U+F704 for F1). The key macOS
// calls Help is the PC keyboard's Insert, and is shown as that.
const ExpectedSpecialKey expectedSpecialKeys[] = {
    {SpecialKey::return_, 0x24, "\u21A9", "\u21A9", "\r"},
    {SpecialKey::delete_, 0x33, "\u232B", "\u232B", "\b"},
    {SpecialKey::deleteForward, 0x75, "\u2326", "\u2326", "\uF728"},
    {SpecialKey::end, 0x77, "\u2198", "\u2198", "\uF72B"},
    {SpecialKey::escape, 0x35, "\u238B", "\u238B", "\x1B"},
    {SpecialKey::help, 0x72, "\u2380", "\u2380", "\uF746"},
    {SpecialKey::home, 0x73, "\u2196", "\u2196", "\uF729"},
    {SpecialKey::space, 0x31, "Space", " ", " "},
    {SpecialKey::tab, 0x30, "\u21E5", "\u21E5", "\t"},
    {SpecialKey::pageUp, 0x74, "\u21DE", "\u21DE", "\uF72C"},
    {SpecialKey::pageDown, 0x79, "\u21DF", "\u21DF", "\uF72D"},
    {SpecialKey::upArrow, 0x7E, "\u2191", "\u2191", "\uF700"},
    {SpecialKey::rightArrow, 0x7C, "\u2192", "\u2192", "\uF703"},
    {SpecialKey::downArrow, 0x7D, "\u2193", "\u2193", "\uF701"},
    {SpecialKey::leftArrow, 0x7B, "\u2190", "\u2190", "\uF702"},
    {SpecialKey::f1, 0x7A, "F1", "\uF704", "\uF704"},
    {SpecialKey::f2, 0x78, "F2", "\uF705", "\uF705"},
    {SpecialKey::f3, 0x63, "F3", "\uF706", "\uF706"},
    {SpecialKey::f4, 0x76, "F4", "\uF707", "\uF707"},
    {SpecialKey::f5, 0x60, "F5", "\uF708", "\uF708"},
    {SpecialKey::f6, 0x61, "F6", "\uF709", "\uF709"},
    {SpecialKey::f7, 0x62, "F7", "\uF70A", "\uF70A"},
    {SpecialKey::f8, 0x64, "F8", "\uF70B", "\uF70B"},
    {SpecialKey::f9, 0x65, "F9", "\uF70C", "\uF70C"},
    {SpecialKey::f10, 0x6D, "F10", "\uF70D", "\uF70D"},
    {SpecialKey::f11, 0x67, "F11", "\uF70E", "\uF70E"},
    {SpecialKey::f12, 0x6F, "F12", "\uF70F", "\uF70F"},
    {SpecialKey::f13, 0x69, "F13", "\uF710", "\uF710"},
    {SpecialKey::f14, 0x6B, "F14", "\uF711", "\uF711"},
    {SpecialKey::f15, 0x71, "F15", "\uF712", "\uF712"},
    {SpecialKey::f16, 0x6A, "F16", "\uF713", "\uF713"},
    {SpecialKey::f17, 0x40, "F17", "\uF714", "\uF714"},
    {SpecialKey::f18, 0x4F, "F18", "\uF715", "\uF715"},
    {SpecialKey::f19, 0x50, "F19", "\uF716", "\uF716"},
    {SpecialKey::f20, 0x5A, "F20", "\uF717", "\uF717"},
    {SpecialKey::keypad0, 0x52, "0\u20E3", none, none},
    {SpecialKey::keypad1, 0x53, "1\u20E3", none, none},
    {SpecialKey::keypad2, 0x54, "2\u20E3", none, none},
    {SpecialKey::keypad3, 0x55, "3\u20E3", none, none},
    {SpecialKey::keypad4, 0x56, "4\u20E3", none, none},
    {SpecialKey::keypad5, 0x57, "5\u20E3", none, none},
    {SpecialKey::keypad6, 0x58, "6\u20E3", none, none},
    {SpecialKey::keypad7, 0x59, "7\u20E3", none, none},
    {SpecialKey::keypad8, 0x5B, "8\u20E3", none, none},
    {SpecialKey::keypad9, 0x5C, "9\u20E3", none, none},
    {SpecialKey::keypadClear, 0x47, "\u2612\u20E3", none, none},
    {SpecialKey::keypadDecimal, 0x41, ".\u20E3", none, none},
    {SpecialKey::keypadDivide, 0x4B, "/\u20E3", none, none},
    {SpecialKey::keypadEnter, 0x4C, "\u21A9\u20E3", none, none},
    {SpecialKey::keypadEquals, 0x51, "=\u20E3", none, none},
    {SpecialKey::keypadMinus, 0x4E, "-\u20E3", none, none},
    {SpecialKey::keypadMultiply, 0x43, "*\u20E3", none, none},
    {SpecialKey::keypadPlus, 0x45, "+\u20E3", none, none},
};

TEST(SpecialKeyTable, EveryKeyHasItsCodeSymbolAndKeyEquivalentsAndNoOtherKeyIsSpecial) {
    test::FakeKeyboardLayout layout;
    std::set<int> specialCodes;
    int index = 0;
    for (const ExpectedSpecialKey& expected : expectedSpecialKeys) {
        SCOPED_TRACE(testing::Message() << "row " << index << ", key code " << expected.keyCode);
        EXPECT_EQ(static_cast<int>(expected.specialKey), index++);
        specialCodes.insert(expected.keyCode);
        EXPECT_EQ(specialKey(Key{expected.keyCode}), expected.specialKey);
        EXPECT_EQ(presentableDescription(expected.specialKey), expected.symbol);
        EXPECT_EQ(appKitMenuItemKeyEquivalent(expected.specialKey), expected.menuKeyEquivalent);
        EXPECT_EQ(swiftUIKeyEquivalent(expected.specialKey), expected.declarativeKeyEquivalent);
        // A shortcut on the key reads and goes into menus the same way, whatever the layout prints.
        layout.keyCaps[static_cast<std::uint16_t>(expected.keyCode)] = "x";
        const Shortcut withControl(Key{expected.keyCode}, ModifierFlags::control);
        EXPECT_EQ(presentableDescription(withControl, layout), "\u2303" + expected.symbol);
        EXPECT_EQ(nsMenuItemKeyEquivalent(withControl, layout), expected.menuKeyEquivalent);
    }
    EXPECT_EQ(std::size(expectedSpecialKeys), 53U);
    EXPECT_EQ(keyToSpecialKeyMapping().size(), std::size(expectedSpecialKeys));
    for (int keyCode = -1; keyCode <= 0x100; ++keyCode) {
        if (!specialCodes.contains(keyCode)) {
            EXPECT_FALSE(specialKey(Key{keyCode}).has_value()) << "key code " << keyCode;
        }
    }
}

TEST(SpecialKeyTable, FunctionKeysAreNumberedOneToTwentyAndNothingElseIs) {
    for (const ExpectedSpecialKey& expected : expectedSpecialKeys) {
        const bool functionKey = expected.symbol.size() >= 2 && expected.symbol[0] == 'F';
        EXPECT_EQ(functionKeyNumber(expected.specialKey),
                  functionKey ? std::optional<int>(std::stoi(expected.symbol.substr(1))) : std::nullopt)
            << expected.symbol;
    }
}

// The key grabbed for Help is Insert (evdev KEY_INSERT, 110), so that is what its shortcut shows.
TEST(SpecialKeyTable, TheHelpPositionIsShownAsTheInsertKeyThatIsGrabbed) {
    test::FakeKeyboardLayout layout;
    EXPECT_EQ(xKeyCodeForVirtualKey(static_cast<int>(Key::help.rawValue)), 110 + evdevToXKeyCodeOffset);
    const Shortcut controlInsert(Key::help, ModifierFlags::control);
    EXPECT_EQ(presentableDescription(controlInsert, layout), "\u2303\u2380");
    EXPECT_EQ(nsMenuItemKeyEquivalent(controlInsert, layout), "\u2380");
    EXPECT_EQ(presentableDescription(controlInsert, layout).find("?"), std::string::npos);
}

} // namespace
} // namespace driftmark::KeyboardShortcuts
