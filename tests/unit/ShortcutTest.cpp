#include "KeyboardShortcuts/Constants.h"
#include "KeyboardShortcuts/Menu.h"
#include "KeyboardShortcuts/ShortcutAcceptance.h"
#include "KeyboardShortcuts/ShortcutJson.h"
#include "KeyboardShortcuts/ShortcutText.h"
#include "KeyboardShortcuts/SpecialKey.h"
#include "fakes/FakeKeyboardLayout.h"
#include "fakes/FakeSystemShortcutList.h"
#include "platform/LocalEventMonitorService.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace driftmark::KeyboardShortcuts {
namespace {

const ModifierFlags command = ModifierFlags::command;
const ModifierFlags shift = ModifierFlags::shift;
const ModifierFlags option = ModifierFlags::option;
const ModifierFlags control = ModifierFlags::control;
const ModifierFlags function = ModifierFlags::function;

TEST(Shortcut, ConstructionKeepsOnlyTheFiveModifiers) {
    EXPECT_EQ(Shortcut(0, 0x1000 | 0x100 | 0x4000).carbonModifiers, 0x1100);
    EXPECT_EQ(Shortcut(0, 0x400 | 0x20000).carbonModifiers, 0x20000);
    EXPECT_EQ(Shortcut(Key::k, command | shift | ModifierFlags::capsLock).carbonModifiers, 0x300);
    EXPECT_EQ(Shortcut(Key::k, command).carbonKeyCode, 40);
    EXPECT_EQ(Shortcut::asStored(5, 0x4100).carbonModifiers, 0x4100);
}

TEST(Shortcut, ModifierConversionFollowsTheTable) {
    EXPECT_EQ(carbon(control), 0x1000);
    EXPECT_EQ(carbon(option), 0x800);
    EXPECT_EQ(carbon(shift), 0x200);
    EXPECT_EQ(carbon(command), 0x100);
    EXPECT_EQ(carbon(function), 0x20000);
    EXPECT_EQ(carbon(ModifierFlags{0x10000 | 0x200000 | 0xFF}), 0);
    EXPECT_EQ(modifierFlags(0x1000 | 0x800 | 0x200 | 0x100 | 0x20000),
              control | option | shift | command | function);
    EXPECT_EQ(modifierFlags(0x400 | 0x4000 | 0x1), ModifierFlags{});
    EXPECT_EQ(normalizedCarbonModifiers(0x100 | 0x400), 0x100);
}

TEST(Shortcut, FromEventTakesKeyEventsOnlyAndDropsFn) {
    const LocalEvent keyDown{
        LocalEvent::keyDown, 40, (command | function | ModifierFlags::capsLock).rawValue, {}};
    EXPECT_EQ(Shortcut::fromEvent(keyDown), Shortcut(Key::k, command));
    const LocalEvent keyUp{LocalEvent::keyUp, 96, shift.rawValue, {}};
    EXPECT_EQ(Shortcut::fromEvent(keyUp), Shortcut(Key::f5, shift));
    EXPECT_FALSE(Shortcut::fromEvent({LocalEvent::leftMouseUp, 0, command.rawValue, {}}));
    EXPECT_FALSE(Shortcut::fromEvent({LocalEvent::flagsChanged, 55, command.rawValue, {}}));
}

TEST(ShortcutJson, EncodesCompactlyWithTheKeyCodeFirst) {
    EXPECT_EQ(encodeJson(Shortcut(Key::k, command)), R"({"carbonKeyCode":40,"carbonModifiers":256})");
    EXPECT_EQ(decodeJson(encodeJson(Shortcut(Key::u, control | shift))), Shortcut(Key::u, control | shift));
}

TEST(ShortcutJson, DecodingNeedsBothIntegersAndKeepsThemAsStored) {
    EXPECT_EQ(decodeJson(R"({"carbonModifiers":256,"carbonKeyCode":40,"extra":"x"})"),
              Shortcut(Key::k, command));
    EXPECT_EQ(decodeJson(R"({"carbonKeyCode":40,"carbonModifiers":16640})")->carbonModifiers, 0x4100);
    EXPECT_EQ(decodeJson(R"({"carbonKeyCode":-3,"carbonModifiers":0})")->carbonKeyCode, -3);
    EXPECT_FALSE(decodeJson(R"({"carbonKeyCode":40})"));
    EXPECT_FALSE(decodeJson(R"({"carbonKeyCode":40.5,"carbonModifiers":256})"));
    EXPECT_FALSE(decodeJson(R"({"carbonKeyCode":"40","carbonModifiers":256})"));
    EXPECT_FALSE(decodeJson(R"({"carbonKeyCode":true,"carbonModifiers":256})"));
    EXPECT_FALSE(decodeJson(R"({"carbonKeyCode":9223372036854775808,"carbonModifiers":256})"));
    EXPECT_FALSE(decodeJson("0"));
    EXPECT_FALSE(decodeJson("[40,256]"));
    EXPECT_FALSE(decodeJson("{"));
}

class ShortcutText : public testing::Test {
protected:
    test::FakeKeyboardLayout layout;

    std::string describe(Key key, ModifierFlags modifiers = {}) {
        return presentableDescription(Shortcut(key, modifiers), layout);
    }
};

TEST_F(ShortcutText, ModifiersComeInAFixedOrderBeforeTheTitleCasedKey) {
    EXPECT_EQ(describe(Key::k, command | shift), "⇧⌘K");
    EXPECT_EQ(describe(Key::k, function | command | shift | option | control), "⌃⌥⇧⌘🌐\uFE0EK");
    EXPECT_EQ(describe(Key::seven, control), "⌃7");
    EXPECT_EQ(presentableDescription(ModifierFlags{}), "");
}

TEST_F(ShortcutText, SpecialKeysUseTheirSymbolsOnEveryLayout) {
    layout.keyCaps[36] = "x";
    EXPECT_EQ(describe(Key::return_), "↩");
    EXPECT_EQ(describe(Key::space, control | option), "⌃⌥Space");
    EXPECT_EQ(describe(Key::f5), "F5");
    EXPECT_EQ(describe(Key::keypad3, command), "⌘3\u20E3");
    EXPECT_EQ(describe(Key::keypadEnter), "↩\u20E3");
    EXPECT_EQ(describe(Key::help), "\u2380");
}

TEST_F(ShortcutText, KeysTheLayoutCannotShowReadAsReplacementCharacter) {
    layout.keyCaps[0] = "´a";
    EXPECT_EQ(describe(Key::a, command), "⌘\uFFFD");
    layout.keyCaps[0] = "";
    EXPECT_EQ(describe(Key::a, command), "⌘\uFFFD");
    EXPECT_EQ(describe(Key::volumeUp, command), "⌘\uFFFD");
    layout.hasLayout = false;
    EXPECT_EQ(describe(Key::k, command), "⌘\uFFFD");
}

TEST_F(ShortcutText, OneCharacterIsOneGraphemeAndIsTitleCased) {
    layout.keyCaps[0] = "e\u0301";
    EXPECT_EQ(describe(Key::a, option), "⌥E\u0301");
    layout.keyCaps[0] = "é";
    EXPECT_EQ(describe(Key::a), "É");
}

TEST_F(ShortcutText, KeyToCharacterSkipsSpecialKeysAndImpossibleCodes) {
    EXPECT_EQ(keyToCharacter(40, layout), "k");
    layout.keyCaps[49] = " ";
    EXPECT_FALSE(keyToCharacter(49, layout));
    layout.keyCaps[0xFFFF] = "z";
    EXPECT_EQ(keyToCharacter(0xFFFF, layout), "z");
    EXPECT_FALSE(keyToCharacter(0x10000, layout));
    EXPECT_FALSE(keyToCharacter(-1, layout));
}

TEST_F(ShortcutText, MenuKeyEquivalents) {
    EXPECT_EQ(nsMenuItemKeyEquivalent(Shortcut(Key::k, command), layout), "k");
    EXPECT_EQ(nsMenuItemKeyEquivalent(Shortcut(Key::f1, {}), layout), "\uF704");
    EXPECT_EQ(nsMenuItemKeyEquivalent(Shortcut(Key::f20, {}), layout), "\uF717");
    EXPECT_EQ(nsMenuItemKeyEquivalent(Shortcut(Key::space, command), layout), " ");
    EXPECT_EQ(nsMenuItemKeyEquivalent(Shortcut(Key::tab, command), layout), "⇥");
    EXPECT_FALSE(nsMenuItemKeyEquivalent(Shortcut(Key::keypad3, command), layout));
}

TEST(SpecialKey, EveryKeyOfTheTableMapsToTheCaseOfItsName) {
    const auto& mapping = keyToSpecialKeyMapping();
    EXPECT_EQ(mapping.size(), 53U);
    EXPECT_EQ(mapping.at(Key::return_), SpecialKey::return_);
    EXPECT_EQ(mapping.at(Key::f17), SpecialKey::f17);
    EXPECT_EQ(mapping.at(Key::keypadPlus), SpecialKey::keypadPlus);
    EXPECT_FALSE(specialKey(Key::a));
    EXPECT_FALSE(specialKey(Key::mute));
    EXPECT_FALSE(specialKey(Key::command));
}

TEST(SpecialKey, DeclarativeKeyEquivalents) {
    EXPECT_EQ(swiftUIKeyEquivalent(SpecialKey::help), "\uF746");
    EXPECT_EQ(swiftUIKeyEquivalent(SpecialKey::f3), "\uF706");
    EXPECT_EQ(swiftUIKeyEquivalent(SpecialKey::return_), "\r");
    EXPECT_FALSE(swiftUIKeyEquivalent(SpecialKey::keypadClear));
    EXPECT_EQ(functionKeyNumber(SpecialKey::f12), 12);
    EXPECT_FALSE(functionKeyNumber(SpecialKey::keypad1));
}

class MenuSearch : public ShortcutText {
protected:
    static MenuItem item(std::string title, std::string key, ModifierFlags mask) {
        return MenuItem{std::move(title), std::move(key), mask, std::nullopt};
    }
};

TEST_F(MenuSearch, AnUpperCaseKeyEquivalentImpliesShift) {
    const Menu menu{{item("Keep", "K", command)}};
    const MenuItem* found = menuItemWithMatchingShortcut(Shortcut(Key::k, command | shift), menu, layout);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->title, "Keep");
    EXPECT_EQ(menuItemWithMatchingShortcut(Shortcut(Key::k, command), menu, layout), nullptr);
}

TEST_F(MenuSearch, ModifiersMustMatchExactly) {
    const Menu menu{{item("Copy", "c", command | option)}};
    EXPECT_EQ(menuItemWithMatchingShortcut(Shortcut(Key::c, command), menu, layout), nullptr);
    EXPECT_NE(menuItemWithMatchingShortcut(Shortcut(Key::c, command | option), menu, layout), nullptr);
}

TEST_F(MenuSearch, SearchesDepthFirstInItemOrder) {
    MenuItem file = item("File", "", {});
    file.submenu = Menu{{item("Nested Save", "s", command)}};
    const Menu menu{{file, item("Save", "s", command), item("F1 Help", "\uF704", {})}};
    EXPECT_EQ(menuItemWithMatchingShortcut(Shortcut(Key::s, command), menu, layout)->title, "Nested Save");
    EXPECT_EQ(menuItemWithMatchingShortcut(Shortcut(Key::f1, {}), menu, layout)->title, "F1 Help");
    EXPECT_EQ(conflictingMenuItem(Shortcut(Key::s, command), &menu, layout)->title, "Nested Save");
    EXPECT_EQ(conflictingMenuItem(Shortcut(Key::s, command), nullptr, layout), nullptr);
}

TEST_F(MenuSearch, AKeyWithoutAKeyEquivalentMatchesNothing) {
    const Menu menu{{item("Empty", "", command)}};
    EXPECT_EQ(menuItemWithMatchingShortcut(Shortcut(Key::keypad1, command), menu, layout), nullptr);
    layout.hasLayout = false;
    EXPECT_EQ(menuItemWithMatchingShortcut(Shortcut(Key::a, command), menu, layout), nullptr);
}

TEST(ShortcutAcceptance, OptionOnlyIsRestrictedOnlyOnTheAffectedSandboxedSystems) {
    const Shortcut optionShiftK(Key::k, option | shift);
    EXPECT_TRUE(isOptionOnlyRestricted(optionShiftK, {15, 0}, true));
    EXPECT_TRUE(isOptionOnlyRestricted(Shortcut(Key::k, option), {15, 1}, true));
    EXPECT_FALSE(isOptionOnlyRestricted(optionShiftK, {15, 2}, true));
    EXPECT_FALSE(isOptionOnlyRestricted(optionShiftK, {14, 0}, true));
    EXPECT_FALSE(isOptionOnlyRestricted(optionShiftK, {15, 0}, false));
    EXPECT_FALSE(isOptionOnlyRestricted(Shortcut(Key::k, control | option), {15, 0}, true));
    EXPECT_FALSE(isOptionOnlyRestricted(Shortcut(Key::k, option | function), {15, 0}, true));
    EXPECT_FALSE(isOptionOnlyRestricted(Shortcut(Key::k, shift), {15, 0}, true));
}

TEST(ShortcutAcceptance, SystemShortcutsAreReadAnewAndOnlyEnabledOnesCount) {
    test::FakeSystemShortcutList list;
    list.entries = {{true, 49, 0x100 | 0x400}, {false, 40, 0x100}};
    EXPECT_TRUE(matchesSystemShortcut(Shortcut(Key::space, command), list));
    EXPECT_FALSE(matchesSystemShortcut(Shortcut(Key::k, command), list));
    list.entries.clear();
    EXPECT_FALSE(matchesSystemShortcut(Shortcut(Key::space, command), list));
    EXPECT_EQ(list.reads, 3);
}

TEST(ShortcutAcceptance, PlainF12IsNeverASystemShortcut) {
    test::FakeSystemShortcutList list;
    list.entries = {{true, 111, 0}, {true, 111, 0x100}};
    EXPECT_FALSE(matchesSystemShortcut(Shortcut(Key::f12, {}), list));
    EXPECT_TRUE(matchesSystemShortcut(Shortcut(Key::f12, command), list));
}

TEST(ShortcutAcceptance, TheRecorderNeedsARealModifierOrAFunctionKey) {
    EXPECT_EQ(functionKeys().size(), 35U);
    EXPECT_TRUE(functionKeys().contains(U'\uF726'));
    EXPECT_TRUE(isFunctionKey(Key::f1));
    EXPECT_TRUE(isFunctionKey(Key::f20));
    EXPECT_FALSE(isFunctionKey(Key::keypad1));
    EXPECT_FALSE(isFunctionKey(Key::escape));

    EXPECT_FALSE(recorderAccepts(Shortcut(Key::a, {})));
    EXPECT_FALSE(recorderAccepts(Shortcut(Key::a, shift | function)));
    EXPECT_FALSE(recorderAccepts(Shortcut(Key::upArrow, shift)));
    EXPECT_TRUE(recorderAccepts(Shortcut(Key::a, control)));
    EXPECT_TRUE(recorderAccepts(Shortcut(Key::a, option)));
    EXPECT_TRUE(recorderAccepts(Shortcut(Key::return_, command)));
    EXPECT_TRUE(recorderAccepts(Shortcut(Key::f6, {})));
    EXPECT_TRUE(recorderAccepts(Shortcut(Key::f6, shift)));
}

TEST(Constants, SandboxIsMarkedByThePresenceOfTheContainerVariable) {
    ::unsetenv("APP_SANDBOX_CONTAINER_ID");
    EXPECT_FALSE(Constants::environmentMarksSandbox());
    ::setenv("APP_SANDBOX_CONTAINER_ID", "", 1);
    EXPECT_TRUE(Constants::environmentMarksSandbox());
    ::unsetenv("APP_SANDBOX_CONTAINER_ID");
}

} // namespace
} // namespace driftmark::KeyboardShortcuts
