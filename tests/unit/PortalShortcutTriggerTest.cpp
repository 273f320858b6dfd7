#include "platform/linux/portal/PortalShortcutTrigger.h"

#include "fakes/FakeKeyboardLayout.h"
#include "platform/HotKeyService.h"

#include <gtest/gtest.h>

namespace driftmark {
namespace {

constexpr std::uint32_t keyA = 0;
constexpr std::uint32_t keyZ = 6;
constexpr std::uint32_t keyY = 16;
constexpr std::uint32_t keyU = 32;
constexpr std::uint32_t keySemicolon = 41;
constexpr std::uint32_t keyQuote = 39;
constexpr std::uint32_t keyReturn = 36;
constexpr std::uint32_t keyF5 = 96;
constexpr std::uint32_t keyLeftShift = 56;
constexpr std::uint32_t keyKeypad1 = 83;

TEST(PortalShortcutTrigger, LettersAreNamedAsTheUsLayoutTypesThem) {
    const test::FakeKeyboardLayout layout;
    EXPECT_EQ(portalShortcutTrigger(keyU, hotKeyModifierControl | hotKeyModifierShift, layout),
              "CTRL+SHIFT+u");
    EXPECT_EQ(portalShortcutTrigger(keyY, hotKeyModifierCommand, layout), "LOGO+y");
    EXPECT_EQ(portalShortcutTrigger(keyA, 0, layout), "a");
    // Punctuation goes by its keysym name, not its character.
    EXPECT_EQ(portalShortcutTrigger(keyQuote, hotKeyModifierOption, layout), "ALT+apostrophe");
}

TEST(PortalShortcutTrigger, LettersFollowTheUsersLayout) {
    test::FakeKeyboardLayout german;
    german.keyCaps[keyY] = "z";
    german.keyCaps[keyZ] = "y";
    german.keyCaps[keySemicolon] = "\u00F6";
    EXPECT_EQ(portalShortcutTrigger(keyY, hotKeyModifierCommand, german), "LOGO+z");
    EXPECT_EQ(portalShortcutTrigger(keyZ, hotKeyModifierCommand, german), "LOGO+y");
    EXPECT_EQ(portalShortcutTrigger(keySemicolon, hotKeyModifierControl, german), "CTRL+odiaeresis");
}

TEST(PortalShortcutTrigger, KeysThatTypeNoTextHaveFixedNames) {
    const test::FakeKeyboardLayout layout;
    EXPECT_EQ(portalShortcutTrigger(keyReturn, hotKeyModifierCommand, layout), "LOGO+Return");
    EXPECT_EQ(portalShortcutTrigger(keyF5, 0, layout), "F5");
    EXPECT_EQ(portalShortcutTrigger(123, hotKeyModifierShift, layout), "SHIFT+Left");
    EXPECT_EQ(portalShortcutTrigger(124, hotKeyModifierShift, layout), "SHIFT+Right");
    EXPECT_EQ(portalShortcutTrigger(125, hotKeyModifierShift, layout), "SHIFT+Down");
    EXPECT_EQ(portalShortcutTrigger(126, hotKeyModifierShift, layout), "SHIFT+Up");
    EXPECT_EQ(portalShortcutTrigger(49, hotKeyModifierControl, layout), "CTRL+space");
    EXPECT_EQ(portalShortcutTrigger(116, 0, layout), "Page_Up");
}

TEST(PortalShortcutTrigger, KeypadKeysAreNotTheDigitsTheyType) {
    test::FakeKeyboardLayout layout;
    layout.keyCaps[keyKeypad1] = "1";
    EXPECT_EQ(portalShortcutTrigger(keyKeypad1, hotKeyModifierControl, layout), "CTRL+KP_1");
}

TEST(PortalShortcutTrigger, ModifiersComeInOneOrderWhateverTheBits) {
    const test::FakeKeyboardLayout layout;
    const std::uint32_t all =
        hotKeyModifierCommand | hotKeyModifierShift | hotKeyModifierOption | hotKeyModifierControl;
    EXPECT_EQ(portalShortcutTrigger(keyA, all, layout), "CTRL+ALT+SHIFT+LOGO+a");
    EXPECT_EQ(portalShortcutTrigger(keyA, hotKeyModifierCommand | hotKeyModifierOption, layout),
              "ALT+LOGO+a");
}

TEST(PortalShortcutTrigger, FnHasNoTrigger) {
    const test::FakeKeyboardLayout layout;
    EXPECT_EQ(portalShortcutTrigger(keyA, hotKeyModifierFunction | hotKeyModifierControl, layout),
              std::nullopt);
    EXPECT_EQ(portalShortcutTrigger(keyF5, hotKeyModifierFunction, layout), std::nullopt);
}

TEST(PortalShortcutTrigger, KeysWithoutANameHaveNoTrigger) {
    test::FakeKeyboardLayout layout;
    // A modifier key, and a key code without a position.
    EXPECT_EQ(portalShortcutTrigger(keyLeftShift, hotKeyModifierControl, layout), std::nullopt);
    EXPECT_EQ(portalShortcutTrigger(10, hotKeyModifierControl, layout), std::nullopt);
    // A dead key that types nothing, a key that types two characters.
    layout.keyCaps[keyA] = "";
    layout.keyCaps[keyU] = "ab";
    EXPECT_EQ(portalShortcutTrigger(keyA, hotKeyModifierControl, layout), std::nullopt);
    EXPECT_EQ(portalShortcutTrigger(keyU, hotKeyModifierControl, layout), std::nullopt);
    // No layout that could name a letter; Return needs none.
    layout.hasLayout = false;
    EXPECT_EQ(portalShortcutTrigger(keyY, hotKeyModifierControl, layout), std::nullopt);
    EXPECT_EQ(portalShortcutTrigger(keyReturn, hotKeyModifierControl, layout), "CTRL+Return");
}

} // namespace
} // namespace driftmark
