#include "KeyboardShortcuts/Module.h"
#include "fakes/KeyboardShortcutsTestbed.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace driftmark::KeyboardShortcuts {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;
using testing::UnorderedElementsAre;

const Shortcut controlShiftU(Key::u, ModifierFlags::control | ModifierFlags::shift);
const Shortcut commandK(Key::k, ModifierFlags::command);
const Shortcut optionCommandC(Key::c, ModifierFlags::option | ModifierFlags::command);

class StoredShortcuts : public testing::Test {
protected:
    StoredShortcuts() {
        bed.module.notificationCenter().addObserver(
            shortcutByNameDidChange, [this](const Notification& note) {
                notified.push_back(std::get<Name>(note.userInfo.at("name")).rawValue);
            });
    }

    std::optional<PreferenceValue> stored(const std::string& name) const {
        return bed.userDefaults.object("KeyboardShortcuts_" + name);
    }

    // The combinations the fake desktop holds for us.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> grabbed() const {
        std::vector<std::pair<std::uint32_t, std::uint32_t>> combinations;
        for (const auto& [handle, registration] : bed.hotKeys.registered) {
            combinations.emplace_back(registration.keyCode, registration.modifiers);
        }
        return combinations;
    }

    test::KeyboardShortcutsTestbed bed;
    std::vector<std::string> notified;
};

TEST_F(StoredShortcuts, ANewNameStoresAndRegistersItsDefaultOnce) {
    const Name name = bed.module.makeName("copyToClipboard", controlShiftU);
    EXPECT_EQ(stored("copyToClipboard"),
              PreferenceValue(std::string(R"({"carbonKeyCode":32,"carbonModifiers":4608})")));
    EXPECT_THAT(grabbed(), ElementsAre(std::pair{32U, 0x1200U}));
    EXPECT_THAT(notified, ElementsAre("copyToClipboard"));
    EXPECT_EQ(bed.module.getShortcut(name), controlShiftU);

    bed.module.makeName("copyToClipboard", commandK);
    EXPECT_EQ(bed.module.getShortcut(name), controlShiftU);
    EXPECT_THAT(notified, ElementsAre("copyToClipboard"));
    EXPECT_EQ(bed.hotKeys.attempts.size(), 1U);
}

TEST_F(StoredShortcuts, RemovingADefaultedShortcutLeavesFalseUntilReset) {
    const Name name = bed.module.makeName("copyToClipboard", controlShiftU);
    bed.module.setShortcut(std::nullopt, name);
    EXPECT_EQ(stored("copyToClipboard"), PreferenceValue(false));
    EXPECT_FALSE(bed.module.getShortcut(name));
    EXPECT_TRUE(bed.module.userDefaultsContains(name));
    EXPECT_THAT(grabbed(), IsEmpty());
    EXPECT_THAT(bed.module.registeredShortcuts(), IsEmpty());

    // The next start does not bring the default back.
    bed.module.makeName("copyToClipboard", controlShiftU);
    EXPECT_FALSE(bed.module.getShortcut(name));

    bed.module.reset({name});
    EXPECT_EQ(bed.module.getShortcut(name), controlShiftU);
    EXPECT_THAT(grabbed(), ElementsAre(std::pair{32U, 0x1200U}));
    EXPECT_THAT(notified, ElementsAre("copyToClipboard", "copyToClipboard", "copyToClipboard"));
}

TEST_F(StoredShortcuts, RemovingAShortcutWithoutDefaultDeletesTheEntry) {
    const Name name = bed.module.makeName("menuItem_X");
    bed.module.setShortcut(commandK, name);
    bed.module.setShortcut(std::nullopt, name);
    EXPECT_FALSE(stored("menuItem_X"));
    EXPECT_FALSE(bed.module.userDefaultsContains(name));
    EXPECT_THAT(grabbed(), IsEmpty());
    EXPECT_THAT(notified, ElementsAre("menuItem_X", "menuItem_X"));

    bed.module.setShortcut(std::nullopt, name);
    EXPECT_THAT(notified, ElementsAre("menuItem_X", "menuItem_X"));
}

TEST_F(StoredShortcuts, ReplacingReleasesTheOldHotKeyBeforeTheNewOneAndNotifiesLast) {
    const Name name = bed.module.makeName("x");
    bed.module.setShortcut(commandK, name);
    std::optional<Shortcut> seenByObserver;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> grabbedWhenNotified;
    bed.module.notificationCenter().addObserver(shortcutByNameDidChange, [&](const Notification&) {
        seenByObserver = bed.module.getShortcut(name);
        grabbedWhenNotified = grabbed();
    });
    bed.module.setShortcut(optionCommandC, name);
    EXPECT_EQ(seenByObserver, optionCommandC);
    EXPECT_THAT(grabbedWhenNotified, ElementsAre(std::pair{8U, 0x900U}));
    EXPECT_EQ(bed.hotKeys.unregistered.size(), 1U);
    EXPECT_THAT(bed.module.registeredShortcuts(), UnorderedElementsAre(optionCommandC));
}

TEST_F(StoredShortcuts, AShortcutTwoNamesShareKeepsItsHotKeyUntilNeitherHasIt) {
    const Name first = bed.module.makeName("copyToClipboard", controlShiftU);
    const Name second = bed.module.makeName("menuItem_2");
    int firstRuns = 0;
    int secondRuns = 0;
    bed.module.onKeyDown(first, [&] { ++firstRuns; });
    bed.module.onKeyDown(second, [&] { ++secondRuns; });
    bed.module.setShortcut(controlShiftU, second);

    // Cleared for the first name, the combination still works for the second.
    bed.module.setShortcut(std::nullopt, first);
    EXPECT_THAT(grabbed(), ElementsAre(std::pair{32U, 0x1200U}));
    EXPECT_TRUE(bed.hotKeys.press(32, 0x1200));
    bed.hotKeys.release(32, 0x1200);
    EXPECT_EQ(firstRuns, 0);
    EXPECT_EQ(secondRuns, 1);

    // Both back on it, then the second one moves on: the first keeps it.
    bed.module.reset({first});
    bed.module.setShortcut(commandK, second);
    EXPECT_THAT(grabbed(), UnorderedElementsAre(std::pair{32U, 0x1200U}, std::pair{40U, 0x100U}));
    EXPECT_TRUE(bed.hotKeys.press(32, 0x1200));
    EXPECT_EQ(firstRuns, 1);

    bed.module.setShortcut(std::nullopt, first);
    EXPECT_THAT(grabbed(), ElementsAre(std::pair{40U, 0x100U}));
}

TEST_F(StoredShortcuts, ARemovedEntrysShortcutNeitherTakesNorHoldsASharedCombination) {
    const Name first = bed.module.makeName("copyToClipboard", controlShiftU);
    const Name removed = bed.module.makeName("menuItem_1");
    const Name later = bed.module.makeName("menuItem_2");
    int firstRuns = 0;
    bed.module.onKeyDown(first, [&] { ++firstRuns; });
    bed.module.onKeyDown(removed, [] {});
    bed.module.onKeyDown(later, [] {});
    bed.module.setShortcut(controlShiftU, removed);

    // The entry that shared the first-entry shortcut goes: the first-entry shortcut still works.
    bed.module.disable({removed});
    EXPECT_THAT(grabbed(), ElementsAre(std::pair{32U, 0x1200U}));
    EXPECT_TRUE(bed.hotKeys.press(32, 0x1200));
    EXPECT_EQ(firstRuns, 1);
    bed.hotKeys.release(32, 0x1200);

    // What the gone entry left stored keeps nothing: once the last name in use lets the combination
    // go, its hot key goes too.
    bed.module.setShortcut(controlShiftU, later);
    bed.module.setShortcut(std::nullopt, first);
    bed.module.setShortcut(std::nullopt, later);
    EXPECT_THAT(grabbed(), ElementsAre());
}

TEST_F(StoredShortcuts, StoringTheSameShortcutAgainRegistersItAnew) {
    const Name name = bed.module.makeName("x");
    bed.module.setShortcut(commandK, name);
    bed.module.setShortcut(commandK, name);
    EXPECT_EQ(bed.hotKeys.attempts.size(), 2U);
    EXPECT_EQ(bed.hotKeys.registered.size(), 1U);
    EXPECT_THAT(bed.hotKeyIds(40, 0x100), ElementsAre(2U));
}

TEST_F(StoredShortcuts, NamesAreEqualByTheirStringAlone) {
    const Name plain("same");
    const Name defaulted("same", commandK);
    EXPECT_EQ(plain, defaulted);
    EXPECT_EQ(std::hash<Name>{}(plain), std::hash<Name>{}(defaulted));
    EXPECT_NE(plain, Name("other"));
}

TEST_F(StoredShortcuts, ValuesThatAreNoShortcutReadAsNone) {
    const Name name("x");
    bed.userDefaults.set("KeyboardShortcuts_x", std::int64_t{40});
    EXPECT_FALSE(bed.module.getShortcut(name));
    bed.userDefaults.set("KeyboardShortcuts_x", Bytes{'{', '}'});
    EXPECT_FALSE(bed.module.getShortcut(name));
    bed.userDefaults.set("KeyboardShortcuts_x", std::string("not json"));
    EXPECT_FALSE(bed.module.getShortcut(name));
    EXPECT_TRUE(bed.module.userDefaultsContains(name));
}

TEST_F(StoredShortcuts, AllNamesAreTheStoredKeysWithoutThePrefix) {
    bed.userDefaults.set("KeyboardShortcuts_x", std::string("{}"));
    bed.userDefaults.set("KeyboardShortcuts_", false);
    bed.userDefaults.set("menuBarItems", Bytes{});
    bed.userDefaults.set("keyboardShortcuts_y", false);
    const auto names = bed.module.allNames();
    EXPECT_THAT(names, UnorderedElementsAre(Name("x"), Name("")));
    EXPECT_EQ(bed.menuTracking.observers.size(), 2U);
}

TEST_F(StoredShortcuts, ResetAllRemovesShortcutsAsIfNoNameHadADefault) {
    const Name defaulted = bed.module.makeName("copyToClipboard", controlShiftU);
    const Name removed = bed.module.makeName("removedDefault", commandK);
    bed.module.setShortcut(std::nullopt, removed);
    const Name plain = bed.module.makeName("plain");
    bed.module.setShortcut(optionCommandC, plain);

    bed.module.resetAll();
    EXPECT_FALSE(stored("copyToClipboard"));
    EXPECT_FALSE(stored("plain"));
    EXPECT_EQ(stored("removedDefault"), PreferenceValue(false));
    EXPECT_THAT(grabbed(), IsEmpty());
}

TEST_F(StoredShortcuts, ResetOfANameWithoutShortcutOrDefaultDoesNothing) {
    bed.module.reset({Name("nothing")});
    EXPECT_THAT(notified, IsEmpty());
    EXPECT_FALSE(stored("nothing"));
}

TEST_F(StoredShortcuts, ResetToADefaultReleasesTheCurrentShortcut) {
    const Name name = bed.module.makeName("copyToClipboard", controlShiftU);
    bed.module.setShortcut(commandK, name);
    bed.module.reset({name});
    EXPECT_EQ(bed.module.getShortcut(name), controlShiftU);
    EXPECT_THAT(grabbed(), ElementsAre(std::pair{32U, 0x1200U}));
    EXPECT_THAT(bed.module.registeredShortcuts(), UnorderedElementsAre(controlShiftU));
}

TEST_F(StoredShortcuts, APlainLetterIsStoredButNeverTakenFromOtherApplications) {
    const Name name = bed.module.makeName("x");
    bed.module.setShortcut(Shortcut(Key::a, ModifierFlags::shift), name);
    EXPECT_EQ(bed.module.getShortcut(name), Shortcut(Key::a, ModifierFlags::shift));
    EXPECT_THAT(bed.hotKeys.attempts, IsEmpty());
    EXPECT_EQ(bed.output.str(), "Error registering hotkey ⇧A: -9870\n");
    EXPECT_THAT(notified, ElementsAre("x"));
}

TEST_F(StoredShortcuts, ValuesOutsideTheHotKeyFieldsAreRefusedNotTruncated) {
    bed.userDefaults.set("KeyboardShortcuts_big",
                         std::string(R"({"carbonKeyCode":4294967336,"carbonModifiers":256})"));
    bed.userDefaults.set("KeyboardShortcuts_negative",
                         std::string(R"({"carbonKeyCode":40,"carbonModifiers":-256})"));
    bed.userDefaults.set("KeyboardShortcuts_wide",
                         std::string(R"({"carbonKeyCode":40,"carbonModifiers":4294967552})"));
    bed.module.enable({Name("big"), Name("negative"), Name("wide")});
    EXPECT_THAT(bed.hotKeys.attempts, IsEmpty());
    EXPECT_EQ(bed.output.str(), "Error registering hotkey ⌘\uFFFD: -9870\n"
                                "Error registering hotkey ⌃⌥⇧⌘🌐\uFE0EK: -9870\n"
                                "Error registering hotkey ⌘K: -9870\n");
    EXPECT_TRUE(bed.module.getShortcut(Name("big")));
}

} // namespace
} // namespace driftmark::KeyboardShortcuts
