#include "app/RemoteControl.h"

#include "KeyboardShortcuts/Key.h"
#include "KeyboardShortcuts/ModifierFlags.h"
#include "fakes/AppHarness.h"
#include "platform/OutsideText.h"

#include <algorithm>
#include <cctype>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace driftmark {
namespace {

using KeyboardShortcuts::Key;
using KeyboardShortcuts::ModifierFlags;
using KeyboardShortcuts::Shortcut;
using test::bytesOf;
using test::FakeClipboard;
using test::makeItem;
using testing::Contains;
using testing::ElementsAre;
using testing::IsSupersetOf;

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

class RemoteControlTest : public testing::Test {
protected:
    RemoteControlTest() {
        delegate->applicationDidFinishLaunching();
        platform().clipboard.contents = userClipboard;
        platform().workspace.frontmost = RunningApplication{7, "com.example.editor", "Editor"};
        platform().timeline.clear();
    }

    test::FakePlatform& platform() { return harness.platform; }
    FakeClipboard::Contents textOnly(const std::string& text) const {
        return {{FakeClipboard::plainTextType, bytesOf(text)}};
    }
    void finishEverything() { platform().mainQueue.advance(5); }

    MenuBarItem plain = makeItem("Plain", "plain text", false, 0);
    MenuBarItem smart = makeItem("Smart", "smart text", true, 1);
    test::AppHarness harness{{plain, smart}};
    std::shared_ptr<AppDelegate> delegate = harness.makeDelegate();
    RemoteControl control{harness.menuItemManager, harness.shortcuts.module, *delegate,
                          platform().application,  platform().systemLog,     harness.logWriter};
    const FakeClipboard::Contents userClipboard = {{FakeClipboard::plainTextType, bytesOf("the user's")}};
};

TEST_F(RemoteControlTest, CopyByPositionIsAPlainCopyEvenOfASmartPasteEntry) {
    EXPECT_EQ(control.copy("2"), std::nullopt);
    finishEverything();

    EXPECT_EQ(platform().clipboard.contents, textOnly("smart text"));
    EXPECT_TRUE(platform().keyEventPoster.posted.empty());
    EXPECT_THAT(platform().logMessages("RemoteControl"), ElementsAre("Remote copy for 'Smart'"));
    EXPECT_THAT(harness.dailyLog(),
                IsSupersetOf({"Remote copy for 'Smart'",
                              "copyTextToClipboard called for item: 'Smart', smartPaste: false"}));
}

TEST_F(RemoteControlTest, PasteByIdInAnyCaseSmartPastesAnEntryWhoseOwnSwitchIsOff) {
    EXPECT_EQ(control.paste(lowerCase(plain.id().toString())), std::nullopt);
    finishEverything();

    // The frontmost window gets the paste chord, and the user's clipboard comes back afterwards.
    EXPECT_THAT(platform().timeline.without("log"),
                IsSupersetOf({"0.000 clipboard: setString \"plain text\"",
                              "0.100 keys: 9 down flags 0x100000", "0.100 keys: 9 up flags 0x100000"}));
    EXPECT_TRUE(platform().workspace.activated.empty());
    EXPECT_EQ(platform().clipboard.contents, userClipboard);
    EXPECT_THAT(harness.dailyLog(),
                IsSupersetOf({"Remote paste for 'Plain'", "Clipboard restored after 0.3s delay"}));
    // The stored entry keeps its own setting.
    EXPECT_FALSE(harness.menuItemManager.items().front().usesSmartPaste);
}

TEST_F(RemoteControlTest, EntriesThatAreNotThereAreRefusedWithTheReasonAndChangeNothing) {
    EXPECT_EQ(control.copy("3"), "no entry at position 3; there are 2 entries");
    const std::string unknown = "0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0";
    EXPECT_EQ(control.paste(lowerCase(unknown)), "no entry with the id " + unknown);
    EXPECT_EQ(control.copy("first"), "'first' is not an entry: give its position, 1 to 10, or its id");
    finishEverything();

    EXPECT_EQ(platform().clipboard.contents, userClipboard);
    EXPECT_TRUE(platform().keyEventPoster.posted.empty());
    EXPECT_THAT(harness.dailyLog(), Contains("Remote paste refused: no entry with the id " + unknown));
}

// What another program sends is echoed in the reply and the logs only as a short excerpt, on one line.
TEST_F(RemoteControlTest, RefusalsEchoOnlyAnEscapedExcerptOfTheArgument) {
    const std::string hint = "' is not an entry: give its position, 1 to 10, or its id";
    EXPECT_EQ(control.copy("one\n[12:00:00] Remote copy for 'Plain'\x1b[2J"),
              "'one\\n[12:00:00] Remote copy for 'Plain'\\x1b[2J" + hint);

    std::string huge(1024 * 1024, 'z');
    huge.front() = '1';
    const std::string shown = "'1" + std::string(OutsideText::echoLimit - 1, 'z') + "…" + hint;
    EXPECT_EQ(control.paste(huge), shown);
    // An argument just past the limit is refused too, even one that starts like an id or a position.
    EXPECT_TRUE(control.copy("2" + std::string(OutsideText::argumentLimit, ' ')).has_value());
    finishEverything();

    EXPECT_EQ(platform().clipboard.contents, userClipboard);
    EXPECT_THAT(harness.dailyLog(),
                IsSupersetOf({"Remote copy refused: 'one\\n[12:00:00] Remote copy for 'Plain'\\x1b[2J" + hint,
                              "Remote paste refused: " + shown}));
    for (const auto& entry : platform().recordedLog.entries()) {
        EXPECT_LT(entry.message.size(), 1024U) << entry.message.substr(0, 100);
    }
}

TEST_F(RemoteControlTest, ListGivesPositionIdTitleAndTheShortcutAsTheSettingsShowIt) {
    harness.shortcuts.module.setShortcut(Shortcut(Key::k, ModifierFlags::control | ModifierFlags::option),
                                         KeyboardShortcutsManager::menuItemName(smart.id()));

    EXPECT_THAT(control.list(), ElementsAre(ListedEntry{plain.id().toString(), "Plain", 1, ""},
                                            ListedEntry{smart.id().toString(), "Smart", 2, "⌃⌥K"}));
    EXPECT_THAT(harness.dailyLog(), Contains("Remote list of 2 items"));
}

TEST_F(RemoteControlTest, SettingsOpenTheWindowAndQuitEndsTheApplication) {
    EXPECT_EQ(control.openSettings(), std::nullopt);
    ASSERT_EQ(platform().windows.made.size(), 1u);
    EXPECT_EQ(platform().windows.made.front()->configuration.title, "Settings driftmark.app");
    EXPECT_EQ(platform().application.terminateRequests, 0);

    control.quit();
    EXPECT_EQ(platform().application.terminateRequests, 1);
    EXPECT_THAT(harness.dailyLog(),
                IsSupersetOf({"Remote request to open the settings window", "Remote request to quit"}));
}

TEST_F(RemoteControlTest, SettingsThatCannotBeBuiltAreRefusedWithTheReasonAndLogged) {
    platform().windows.unavailable = "the settings library cannot be loaded: file too short";
    EXPECT_EQ(control.openSettings(),
              "cannot open the settings window: the settings library cannot be loaded: file too short");
    EXPECT_TRUE(platform().windows.made.empty());
    EXPECT_TRUE(platform().windows.notices.empty());
    EXPECT_THAT(
        harness.dailyLog(),
        IsSupersetOf({"Remote request to open the settings window",
                      "ERROR: cannot open the settings window: the settings library cannot be loaded: "
                      "file too short"}));

    platform().windows.unavailable.reset();
    EXPECT_EQ(control.openSettings(), std::nullopt);
    EXPECT_EQ(platform().windows.made.size(), 1u);
}

} // namespace
} // namespace driftmark
