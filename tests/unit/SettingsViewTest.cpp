#include "app/SettingsView.h"

#include "app/ColorPalette.h"
#include "app/TextPreview.h"
#include "fakes/AppHarness.h"
#include "fakes/FakeLoginItemService.h"
#include "support/LaunchAtLogin.h"

#include <cmath>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>

namespace driftmark::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

std::vector<MenuBarItem> items(int count) {
    std::vector<MenuBarItem> made;
    for (int index = 0; index < count; ++index) {
        made.push_back(
            makeItem("Entry " + std::to_string(index), "Text " + std::to_string(index), false, index));
    }
    return made;
}

struct SettingsViewTest : ::testing::Test {
    explicit SettingsViewTest(int count = 3)
        : harness(items(count)) {}

    SettingsView makeView() {
        const auto legacy = harness.shortcuts.module.makeName(
            "copyToClipboard", KeyboardShortcuts::Shortcut(KeyboardShortcuts::Key::u,
                                                           KeyboardShortcuts::ModifierFlags::control |
                                                               KeyboardShortcuts::ModifierFlags::shift));
        return SettingsView({harness.menuItemManager, harness.shortcuts.module, legacy, launchAtLogin,
                             harness.appLogger, harness.preferences, harness.platform.application,
                             harness.platform.mainQueue});
    }
    std::vector<std::string> titles() const {
        std::vector<std::string> found;
        for (const auto& item : harness.menuItemManager.items()) {
            found.push_back(item.title);
        }
        return found;
    }
    const MenuBarItem& item(std::size_t index) const { return harness.menuItemManager.items().at(index); }

    AppHarness harness;
    FakeLoginItemService loginItem;
    std::ostringstream output;
    LaunchAtLogin launchAtLogin{loginItem, output};
};

TEST_F(SettingsViewTest, TheAddControlAndItsToolTipFollowTheLimitOfTenEntries) {
    const SettingsView view = makeView();
    for (int count = 3; count < 9; ++count) {
        harness.menuItemManager.addItem(makeItem("More", "more", false));
    }
    ASSERT_EQ(harness.menuItemManager.items().size(), 9U);
    EXPECT_TRUE(view.canAddItem());
    EXPECT_EQ(view.addItemToolTip(), "Add new menu item");
    harness.menuItemManager.addItem(makeItem("Tenth", "ten", false));
    EXPECT_FALSE(view.canAddItem());
    EXPECT_EQ(view.addItemToolTip(), "Maximum 10 items allowed");
}

TEST_F(SettingsViewTest, DeletingTheSelectedEntrySelectsGeneralAndDeletingAnotherKeepsTheSelection) {
    SettingsView view = makeView();
    EXPECT_EQ(view.selectedSection(), SettingsSection::general());
    const Uuid second = item(1).id();
    view.setSelectedSection(SettingsSection::menuItem(second));
    ASSERT_EQ(view.selectedItem()->title, "Entry 1");

    view.setItemToDelete(item(0));
    EXPECT_EQ(view.deleteMessage(), "Are you sure you want to delete 'Entry 0'?");
    view.deleteItem();
    EXPECT_THAT(titles(), ElementsAre("Entry 1", "Entry 2"));
    EXPECT_EQ(view.selectedSection(), SettingsSection::menuItem(second));

    view.setItemToDelete(item(0));
    view.deleteItem();
    EXPECT_THAT(titles(), ElementsAre("Entry 2"));
    EXPECT_EQ(view.selectedSection(), SettingsSection::general());
    EXPECT_FALSE(view.showsDeleteControls()) << "the last entry cannot be deleted";

    // Confirming again for an entry that is gone changes nothing.
    view.deleteItem();
    EXPECT_THAT(titles(), ElementsAre("Entry 2"));
}

TEST_F(SettingsViewTest, AnEntryThatDisappearsOtherwiseLeavesTheSelectionOnAnEmptyPane) {
    SettingsView view = makeView();
    view.setSelectedSection(SettingsSection::menuItem(item(2).id()));
    harness.menuItemManager.removeItemAt(2);
    EXPECT_EQ(view.selectedSection().kind, SettingsSection::Kind::menuItem);
    EXPECT_FALSE(view.selectedItem().has_value());
}

TEST_F(SettingsViewTest, AnEmptyTitleLeavesNothingBetweenTheApostrophes) {
    SettingsView view = makeView();
    MenuBarItem untitled = item(0);
    untitled.title.clear();
    view.setItemToDelete(untitled);
    EXPECT_EQ(view.deleteMessage(), "Are you sure you want to delete ''?");
}

TEST_F(SettingsViewTest, AnAddedEntryKeepsTheIdItsRecorderWasBoundToAndIsSelected) {
    SettingsView view = makeView();
    const Uuid fixed = Uuid::random();
    view.addItem(SettingsView::newItem(fixed, "Signature", "Best,\nMe", Color::systemGreen(), true));
    const MenuBarItem& added = harness.menuItemManager.items().back();
    EXPECT_EQ(added.id(), fixed);
    EXPECT_EQ(added.title, "Signature");
    EXPECT_EQ(added.text, "Best,\nMe");
    EXPECT_EQ(added.iconColor, CodableColor::fromPlatformColor(Color::systemGreen()));
    EXPECT_TRUE(added.usesSmartPaste);
    EXPECT_FALSE(added.prependNewline);
    EXPECT_FALSE(added.keyboardShortcutName.has_value());
    EXPECT_EQ(added.order, 3) << "the store numbers it after the others";
    EXPECT_EQ(view.selectedSection(), SettingsSection::menuItem(fixed));
}

struct FullSettingsViewTest : SettingsViewTest {
    FullSettingsViewTest()
        : SettingsViewTest(10) {}
};

TEST_F(FullSettingsViewTest, AnEntryTheStoreRefusesIsNotSelected) {
    SettingsView view = makeView();
    view.addItem(SettingsView::newItem(Uuid::random(), "Eleventh", "x", Color::systemBlue(), false));
    EXPECT_EQ(harness.menuItemManager.items().size(), 10U);
    EXPECT_EQ(view.selectedSection(), SettingsSection::general());
}

TEST_F(SettingsViewTest, ResetEmptiesThePreferencesLeavesOneDefaultEntryAndRestartsHalfASecondLater) {
    loginItem.enabled = true;
    LaunchAtLogin enabledAtStart(loginItem, output);
    const KeyboardShortcuts::Shortcut controlShiftU(KeyboardShortcuts::Key::u,
                                                    KeyboardShortcuts::ModifierFlags::control |
                                                        KeyboardShortcuts::ModifierFlags::shift);
    const auto legacy = harness.shortcuts.module.makeName("copyToClipboard", controlShiftU);
    SettingsView view({harness.menuItemManager, harness.shortcuts.module, legacy, enabledAtStart,
                       harness.appLogger, harness.preferences, harness.platform.application,
                       harness.platform.mainQueue});
    harness.preferences.set("settingsWindowWidth", 900.0);
    harness.shortcuts.module.setShortcut(
        KeyboardShortcuts::Shortcut(KeyboardShortcuts::Key::k, KeyboardShortcuts::ModifierFlags::command),
        legacy);

    view.resetAllSettings();

    EXPECT_FALSE(harness.preferences.object("settingsWindowWidth").has_value());
    EXPECT_EQ(harness.shortcuts.module.getShortcut(legacy), controlShiftU)
        << "the older shortcut is back to its default";
    EXPECT_THAT(loginItem.calls, ElementsAre("unregister"));
    EXPECT_FALSE(enabledAtStart.isEnabled());
    ASSERT_EQ(harness.menuItemManager.items().size(), 1U);
    const MenuBarItem& only = item(0);
    EXPECT_EQ(only.title, "Driftmark");
    EXPECT_EQ(only.text, "Driftmark about this.");
    EXPECT_EQ(only.iconColor, CodableColor::fromPlatformColor(Color::systemBlue()));
    EXPECT_EQ(only.order, 0);
    EXPECT_TRUE(harness.preferences.data(MenuItemManager::storageKey).has_value()) << "the new list is saved";

    EXPECT_EQ(harness.platform.application.relaunchRequests, 1);
    harness.platform.mainQueue.advance(0.49);
    EXPECT_EQ(harness.platform.application.terminateRequests, 0);
    harness.platform.mainQueue.advance(0.01);
    EXPECT_EQ(harness.platform.application.terminateRequests, 1);
    EXPECT_THAT(harness.dailyLog(),
                Contains(::testing::HasSubstr("Settings reset completed, restarting app...")));
}

TEST(ColorPalette, ASwatchIsChosenWithinOneHundredthPerChannelWhateverTheAlpha) {
    const Color blue = Color::systemBlue();
    EXPECT_EQ(colorOptions().front().name, "Blue");
    EXPECT_EQ(colorOptions().size(), 10U);
    EXPECT_TRUE(isColorSelected(Color{blue.red + 0.009, blue.green - 0.009, blue.blue, 0.2}, blue));
    EXPECT_FALSE(isColorSelected(Color{blue.red + 0.011, blue.green, blue.blue, 1}, blue));
    EXPECT_FALSE(isColorSelected(Color{std::nan(""), blue.green, blue.blue, 1}, blue));
    int matches = 0;
    for (const PaletteColor& option : colorOptions()) {
        matches += isColorSelected(Color::systemTeal(), option.color) ? 1 : 0;
    }
    EXPECT_EQ(matches, 1) << "no two palette colours are within the tolerance of each other";
}

TEST(TextPreview, ShowsThePlaceholderOrTheLeadingCharactersWithAnEllipsisWhenCut) {
    const std::string sixty(60, 'a');
    EXPECT_EQ(textPreview("", 60, "Click Edit to set text..."), "Click Edit to set text...");
    EXPECT_EQ(textPreview(sixty, 60, "-"), sixty);
    EXPECT_EQ(textPreview(sixty + "b", 60, "-"), sixty + "...");
    // A flag is one character: fifty of them fit, the fifty-first is cut.
    std::string flags;
    for (int index = 0; index < 51; ++index) {
        flags += "\U0001F1EB\U0001F1F7";
    }
    const std::string preview = textPreview(flags, 50, "-");
    EXPECT_EQ(preview, flags.substr(0, flags.size() - 8) + "...");
}

} // namespace
} // namespace driftmark::test
