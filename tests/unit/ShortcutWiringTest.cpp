#include "KeyboardShortcuts/Key.h"
#include "KeyboardShortcuts/ModifierFlags.h"
#include "fakes/AppHarness.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace driftmark {
namespace {

using KeyboardShortcuts::Key;
using KeyboardShortcuts::ModifierFlags;
using KeyboardShortcuts::Shortcut;
using test::makeItem;
using testing::Contains;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::Not;

constexpr std::uint32_t keyK = 40;
constexpr std::uint32_t commandBit = 0x100;
constexpr std::uint32_t keyU = 32;
constexpr std::uint32_t controlShift = 0x1200;

class ShortcutWiringTest : public testing::Test {
protected:
    std::shared_ptr<AppDelegate> launch(const std::vector<MenuBarItem>& items) {
        harness = std::make_unique<test::AppHarness>(items);
        return harness->launch();
    }

    void bind(const MenuBarItem& item, const Shortcut& shortcut) {
        harness->shortcuts.module.setShortcut(shortcut, KeyboardShortcutsManager::menuItemName(item.id()));
    }

    std::optional<std::string> clipboardText() { return harness->platform.clipboard.string(); }

    std::vector<std::string> dailyLog() { return harness->dailyLog(); }

    std::unique_ptr<test::AppHarness> harness;
    const Shortcut commandK{Key::k, ModifierFlags::command};
};

TEST_F(ShortcutWiringTest, AnEntrysShortcutCopiesItsTextWithoutARememberedWindow) {
    const MenuBarItem greeting = makeItem("Greeting", "Hello there", false);
    const auto delegate = launch({greeting});
    bind(greeting, commandK);

    EXPECT_TRUE(harness->shortcuts.hotKeys.release(keyK, commandBit));
    EXPECT_EQ(clipboardText(), "Hello there");
    EXPECT_THAT(dailyLog(), Contains("copyTextToClipboard called for item: 'Greeting', smartPaste: false"));
}

TEST_F(ShortcutWiringTest, TheOlderShortcutCopiesWhicheverEntryIsFirstWhenPressed) {
    const MenuBarItem first = makeItem("First", "first text", false, 0);
    const MenuBarItem second = makeItem("Second", "second text", false, 1);
    const auto delegate = launch({first, second});

    harness->shortcuts.hotKeys.release(keyU, controlShift);
    EXPECT_EQ(clipboardText(), "first text");

    harness->menuItemManager.removeItemAt(0);
    harness->shortcuts.hotKeys.release(keyU, controlShift);
    EXPECT_EQ(clipboardText(), "second text");
}

TEST_F(ShortcutWiringTest, AnEmptyListRegistersNothingAndTheOlderShortcutDoesNothing) {
    harness = std::make_unique<test::AppHarness>(std::vector<MenuBarItem>{});
    harness->menuItemManager.setItems({});
    const auto delegate = harness->makeDelegate();
    delegate->applicationDidFinishLaunching();

    EXPECT_THAT(dailyLog(), Contains("Keyboard shortcuts manager initialized with 0 items"));
    harness->shortcuts.hotKeys.release(keyU, controlShift);
    EXPECT_EQ(clipboardText(), std::nullopt);
}

TEST_F(ShortcutWiringTest, ListChangesReachTheStatusItemsFirstThenTheShortcuts) {
    const MenuBarItem kept = makeItem("Kept", "kept text", false, 0);
    const MenuBarItem removed = makeItem("Removed", "removed text", false, 1);
    const auto delegate = launch({kept, removed});
    bind(removed, commandK);

    // An edited entry's shortcut copies the edited text.
    MenuBarItem edited = kept;
    edited.text = "edited text";
    harness->menuItemManager.updateItem(edited);
    bind(kept, Shortcut(Key::j, ModifierFlags::command));
    harness->shortcuts.hotKeys.release(38, commandBit);
    EXPECT_EQ(clipboardText(), "edited text");

    harness->menuItemManager.removeItemAt(1);
    EXPECT_EQ(delegate->menuBarManager()->statusItems().count(removed.id()), 0u);
    EXPECT_FALSE(harness->shortcuts.hotKeys.release(keyK, commandBit));
    EXPECT_EQ(clipboardText(), "edited text");
}

TEST_F(ShortcutWiringTest, ASmartPasteEntryTriggeredByItsShortcutPastesIntoTheFrontmostWindow) {
    const MenuBarItem paste = makeItem("Paste", "pasted", true);
    const auto delegate = launch({paste});
    bind(paste, commandK);
    harness->platform.clipboard.contents = {{"text/plain", test::bytesOf("mine")}};

    harness->shortcuts.hotKeys.release(keyK, commandBit);
    harness->platform.mainQueue.advance(0.5);
    EXPECT_THAT(harness->platform.timeline.events(), Contains(HasSubstr("keys: 9 down")));
    EXPECT_THAT(harness->platform.timeline.events(), Not(Contains(HasSubstr("workspace: activate"))));
    EXPECT_EQ(harness->platform.clipboard.data("text/plain"), test::bytesOf("mine"));
}

// A keystroke in an entry's name field: the store announces the list once for the change and once per
// renumbering. The shortcuts stay registered as they are, nothing is logged about them or the status
// items, and only the renamed entry's tooltip changes; its shortcut then copies what the entry holds
// at that moment and the log names it by its new title.
TEST_F(ShortcutWiringTest, AKeystrokeInANameRegistersAndLogsNothingAgain) {
    std::vector<MenuBarItem> items;
    for (int index = 0; index < 10; ++index) {
        items.push_back(
            makeItem("Entry " + std::to_string(index), "text " + std::to_string(index), false, index));
    }
    const auto delegate = launch(items);
    bind(items[5], commandK);
    const auto logLines = dailyLog().size();
    const auto hotKeyAttempts = harness->shortcuts.hotKeys.attempts.size();
    const auto systemLogLines = harness->platform.logMessages("MenuBarManager").size();

    MenuBarItem edited = items[5];
    edited.title = "Entry 5x";
    harness->menuItemManager.updateItem(edited);

    EXPECT_EQ(dailyLog().size(), logLines);
    EXPECT_EQ(harness->shortcuts.hotKeys.attempts.size(), hotKeyAttempts);
    EXPECT_EQ(harness->platform.logMessages("MenuBarManager").size(), systemLogLines);
    for (const MenuBarItem& item : items) {
        const auto* statusItem = harness->platform.statusBar.item(MenuBarManager::autosaveName(item.id()));
        ASSERT_NE(statusItem, nullptr);
        EXPECT_EQ(statusItem->toolTip, item.id() == edited.id() ? "Entry 5x" : item.title);
        EXPECT_EQ(statusItem->imageChanges, 1) << item.title;
    }

    edited.text = "typed since";
    harness->menuItemManager.updateItem(edited);
    EXPECT_TRUE(harness->shortcuts.hotKeys.release(keyK, commandBit));
    EXPECT_EQ(clipboardText(), "typed since");
    EXPECT_THAT(dailyLog(), Contains(HasSubstr("Keyboard shortcut triggered for item: Entry 5x")));
    EXPECT_THAT(dailyLog(), Not(Contains(HasSubstr("Registered shortcut for item: Entry 5x"))));
}

TEST_F(ShortcutWiringTest, ActionsDoNothingOnceTheDelegateIsGone) {
    const MenuBarItem greeting = makeItem("Greeting", "Hello", false);
    auto delegate = launch({greeting});
    bind(greeting, commandK);
    delegate.reset();

    harness->shortcuts.hotKeys.release(keyK, commandBit);
    harness->shortcuts.hotKeys.release(keyU, controlShift);
    EXPECT_EQ(clipboardText(), std::nullopt);
}

} // namespace
} // namespace driftmark
