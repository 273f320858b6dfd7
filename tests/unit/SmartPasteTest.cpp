#include "app/AppDelegate.h"
#include "fakes/AppHarness.h"

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace driftmark {
namespace {

using test::bytesOf;
using test::FakeClipboard;
using test::makeItem;
using testing::Contains;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsSupersetOf;
using testing::Not;

const RunningApplication editor{7, "com.example.editor", "Editor"};
const RunningApplication terminal{8, "com.example.terminal", "Terminal"};
constexpr const char* plainType = FakeClipboard::plainTextType;

class SmartPasteTest : public testing::Test {
protected:
    SmartPasteTest() {
        delegate->applicationDidFinishLaunching();
        clipboard().contents = userClipboard;
        startupLogSize = platform().recordedLog.entries().size();
        platform().timeline.clear();
    }

    test::FakePlatform& platform() { return harness.platform; }
    FakeClipboard& clipboard() { return platform().clipboard; }
    test::FakeStatusItem& statusItem(const MenuBarItem& item) {
        return *platform().statusBar.item(MenuBarManager::autosaveName(item.id()));
    }

    // The pointer comes onto the item while `app` is the one the user works in; the timeline starts
    // afresh after it.
    void hover(const MenuBarItem& item, const RunningApplication& app) {
        platform().workspace.frontmost = app;
        platform().workspace.previous = app;
        statusItem(item).pointerEnters();
        platform().timeline.clear();
    }
    void advanceTo(double seconds) { platform().mainQueue.advance(seconds - platform().mainQueue.now()); }

    std::vector<std::string> timeline() const { return harness.platform.timeline.without("log"); }
    // The delegate's system-log messages since start-up.
    std::vector<std::string> delegateLog() const {
        std::vector<std::string> messages;
        const auto& entries = harness.platform.recordedLog.entries();
        for (auto entry = entries.begin() + static_cast<std::ptrdiff_t>(startupLogSize);
             entry != entries.end(); ++entry) {
            if (entry->category == "AppDelegate") {
                messages.push_back(entry->message);
            }
        }
        return messages;
    }
    FakeClipboard::Contents textOnly(const std::string& text) const { return {{plainType, bytesOf(text)}}; }

    MenuBarItem plain = makeItem("Plain", "plain text", false, 0);
    MenuBarItem smart = makeItem("Smart", "Hello", true, 1);
    MenuBarItem newline = makeItem("Newline", "Line", true, 2, true);
    test::AppHarness harness{{plain, smart, newline}};
    std::shared_ptr<AppDelegate> delegate = harness.makeDelegate();
    const FakeClipboard::Contents userClipboard{{plainType, bytesOf("old")},
                                                {"image/png", Bytes{0x89, 'P', 'N', 'G', 0x00, 0xFF}}};
    std::size_t startupLogSize = 0;
};

TEST_F(SmartPasteTest, PlainCopyWritesTheTextAndFlashesWhateverAppIsRemembered) {
    hover(plain, editor);
    statusItem(plain).activate();
    advanceTo(2);

    EXPECT_THAT(timeline(),
                ElementsAre("0.000 clipboard: clear", "0.000 clipboard: setString \"plain text\"",
                            "0.000 statusBar: alpha 0.5 over 0.1", "0.000 statusBar: alpha 1.0 over 0.1"));
    EXPECT_EQ(clipboard().contents, textOnly("plain text"));
    EXPECT_THAT(delegateLog(),
                ElementsAre("Menu bar left click for item: Plain", "Previous app is: Editor",
                            "copyTextToClipboard called for item: 'Plain', smartPaste: false"));
    EXPECT_THAT(harness.dailyLog(),
                IsSupersetOf({"Menu bar clicked for 'Plain'! Previous app: Editor",
                              "copyTextToClipboard called for item: 'Plain', smartPaste: false"}));
}

TEST_F(SmartPasteTest, RememberedAppIsActivatedPastedIntoAndTheClipboardRestored) {
    hover(smart, editor);
    statusItem(smart).activate();
    advanceTo(2);

    // The click refreshes the item's tooltip with its permission mark, then the copy asks again.
    EXPECT_THAT(timeline(),
                ElementsAre("0.000 trust: isTrusted", "0.000 trust: isTrusted", "0.000 clipboard: read",
                            "0.000 clipboard: clear", "0.000 clipboard: setString \"Hello\"",
                            "0.000 statusBar: alpha 0.5 over 0.1", "0.000 statusBar: alpha 1.0 over 0.1",
                            "0.100 workspace: activate Editor", "0.100 trust: isTrusted",
                            "0.100 keys: 9 down flags 0x100000", "0.100 keys: 9 up flags 0x100000",
                            "0.100 clipboard: text read", "0.900 clipboard: clear",
                            "0.900 clipboard: setData text/plain;charset=utf-8",
                            "0.900 clipboard: setData image/png"));
    EXPECT_EQ(clipboard().contents, userClipboard);
    EXPECT_THAT(delegateLog(), ElementsAre("Menu bar left click for item: Smart", "Previous app is: Editor",
                                           "copyTextToClipboard called for item: 'Smart', smartPaste: true",
                                           "Activating previous app: Editor", "Activation result: true",
                                           "Now pasting to app", "Current frontmost app: Editor",
                                           "pasteToActiveApp called for item: 'Smart', prependNewline: false",
                                           "Posted Cmd+V key down event", "Posted Cmd+V key up event",
                                           "pasteToActiveApp completed"));
    const auto daily = harness.dailyLog();
    EXPECT_THAT(
        daily,
        Contains(testing::MatchesRegex(
            R"(\[DEBUG\] \[SmartPaste\.cpp:[0-9]+\] )"
            R"(copyTextToClipboard\(for:smartPaste:previousApp:\) - Clipboard now contains: 'Hello'\))")));
    EXPECT_THAT(daily, IsSupersetOf({"Menu bar clicked for 'Smart'! Previous app: Editor",
                                     "pasteToActiveApp called for item: 'Smart', prependNewline: false",
                                     "Clipboard restored after 0.8s delay"}));
}

TEST_F(SmartPasteTest, ReturnComesFirstAndAFailedActivationStillPastes) {
    hover(newline, editor);
    platform().workspace.frontmost = terminal;
    platform().workspace.activationSucceeds = false;
    statusItem(newline).activate();
    advanceTo(2);

    EXPECT_THAT(timeline(),
                IsSupersetOf({"0.100 workspace: activate Editor", "0.600 keys: 36 down flags 0x0",
                              "0.600 keys: 36 up flags 0x0", "0.650 keys: 9 down flags 0x100000",
                              "0.650 keys: 9 up flags 0x100000", "0.900 clipboard: setData image/png"}));
    EXPECT_THAT(delegateLog(), IsSupersetOf({"Activation result: false", "Current frontmost app: Terminal",
                                             "Prepending newline before paste", "Posted Enter key down event",
                                             "Posted Enter key up event"}));
    EXPECT_THAT(harness.dailyLog(), Contains("Target window not active after 0.5s: pasting into Terminal"));
    EXPECT_EQ(clipboard().contents, userClipboard);
}

// The keystroke goes out as soon as the desktop says the target is active, not a fixed time later.
TEST_F(SmartPasteTest, ThePasteWaitsForTheDesktopToActivateTheTarget) {
    hover(smart, editor);
    platform().workspace.frontmost = terminal;
    platform().workspace.activationDelay = 0.2;
    statusItem(smart).activate();
    advanceTo(0.299);
    EXPECT_TRUE(platform().keyEventPoster.posted.empty()) << "the editor is not active yet";
    advanceTo(2);

    EXPECT_THAT(timeline(),
                IsSupersetOf({"0.100 workspace: activate Editor", "0.300 keys: 9 down flags 0x100000",
                              "0.300 keys: 9 up flags 0x100000", "0.900 clipboard: setData image/png"}));
    EXPECT_THAT(delegateLog(), IsSupersetOf({"Now pasting to app", "Current frontmost app: Editor"}));
    EXPECT_FALSE(platform().workspace.hasActiveChangeListener());
    const auto daily = harness.dailyLog();
    EXPECT_THAT(daily, Contains("Clipboard restored after 0.8s delay"));
    EXPECT_THAT(daily, Not(Contains(HasSubstr("not active"))));
    EXPECT_EQ(clipboard().contents, userClipboard);
}

// A program that reads the clipboard only well after the keystroke (a busy one, a remote terminal) still
// gets the entry's text: the user's clipboard comes back once it has been read.
TEST_F(SmartPasteTest, ALateReadGetsTheEntrysTextAndTheRestoreFollowsIt) {
    clipboard().pasteReadsAfter = 1.5;
    hover(smart, editor);
    statusItem(smart).activate();
    advanceTo(1.599);
    EXPECT_EQ(clipboard().contents, textOnly("Hello"));
    advanceTo(3);

    EXPECT_THAT(timeline(), IsSupersetOf({"0.100 keys: 9 down flags 0x100000", "1.600 clipboard: text read",
                                          "1.600 clipboard: setData image/png"}));
    EXPECT_EQ(clipboard().contents, userClipboard);
    const auto daily = harness.dailyLog();
    EXPECT_THAT(
        daily, Contains("Clipboard restored 1.5s after the paste keystroke, once the entry's text was read"));
    EXPECT_THAT(daily, Not(Contains("Clipboard restored after 0.8s delay")));
}

// Nothing reads the text: the user's clipboard comes back a while after the keystroke all the same.
TEST_F(SmartPasteTest, TextNeverReadIsRestoredAtTheLatestAfterTheKeystroke) {
    clipboard().pasteReadsAfter.reset();
    delegate->copyTextToClipboard(newline, true, std::nullopt);
    advanceTo(3.149);
    EXPECT_EQ(clipboard().contents, textOnly("Line"));
    EXPECT_TRUE(clipboard().awaitsTextRead());
    advanceTo(4);

    EXPECT_THAT(timeline(),
                IsSupersetOf({"0.150 keys: 9 down flags 0x100000", "3.150 clipboard: setData image/png"}));
    EXPECT_EQ(clipboard().contents, userClipboard);
    EXPECT_FALSE(clipboard().awaitsTextRead());
    EXPECT_THAT(
        harness.dailyLog(),
        Contains("Clipboard restored 3s after the paste keystroke without the entry's text being read"));
}

// A clipboard manager reads every new clipboard at once; only a read after the keystroke is the paste.
TEST_F(SmartPasteTest, AReadBeforeThePasteKeystrokeIsNotThePaste) {
    clipboard().pasteReadsAfter.reset();
    hover(smart, editor);
    platform().workspace.frontmost = terminal;
    platform().workspace.activationDelay = 0.3;
    statusItem(smart).activate();
    advanceTo(0.2);
    clipboard().readTextNow();
    advanceTo(3.399);
    EXPECT_EQ(clipboard().contents, textOnly("Hello"));
    advanceTo(3.4);
    EXPECT_EQ(clipboard().contents, userClipboard);
}

// A quit while the paste has not been read yet puts the clipboard back at once, and nothing waits on.
TEST_F(SmartPasteTest, AQuitWhileTheTextIsUnreadRestoresAtOnce) {
    clipboard().pasteReadsAfter.reset();
    hover(smart, editor);
    statusItem(smart).activate();
    advanceTo(1.5);
    EXPECT_EQ(clipboard().contents, textOnly("Hello"));
    delegate->applicationWillTerminate();
    EXPECT_EQ(clipboard().contents, userClipboard);
    EXPECT_FALSE(clipboard().awaitsTextRead());
    platform().timeline.clear();
    advanceTo(5);
    EXPECT_TRUE(timeline().empty());
    const auto daily = harness.dailyLog();
    EXPECT_THAT(daily, Contains("Clipboard restored at quit"));
    EXPECT_THAT(daily, Not(Contains(HasSubstr("Clipboard restored 3s"))));
}

// Overlapping pastes each wait for a read after their own keystroke: the one read late keeps the restore
// back.
TEST_F(SmartPasteTest, OverlappingPastesRestoreOnlyOnceEachHasBeenRead) {
    clipboard().pasteReadsAfter.reset();
    hover(smart, editor);
    statusItem(smart).activate();
    advanceTo(0.05);
    delegate->copyTextToClipboard(newline, true, std::nullopt);
    advanceTo(0.15);
    clipboard().readTextNow();
    advanceTo(0.999);
    EXPECT_EQ(clipboard().contents, textOnly("Line")) << "the second keystroke's text has not been read yet";
    advanceTo(1.0);
    clipboard().readTextNow();
    EXPECT_EQ(clipboard().contents, userClipboard);
    EXPECT_THAT(timeline(),
                IsSupersetOf({"0.100 keys: 9 down flags 0x100000", "0.200 keys: 9 down flags 0x100000"}));
    EXPECT_THAT(
        harness.dailyLog(),
        IsSupersetOf({"Clipboard restore after 0.8s delay left to the Smart Paste still in progress",
                      "Clipboard restored 0.8s after the paste keystroke, once the entry's text was read"}));
}

TEST_F(SmartPasteTest, WithoutRememberedAppPastesAtOnceAndRestoresLater) {
    delegate->copyTextToClipboard(newline, true, std::nullopt);
    advanceTo(2);

    EXPECT_THAT(timeline(),
                ElementsAre("0.000 trust: isTrusted", "0.000 clipboard: read", "0.000 clipboard: clear",
                            "0.000 clipboard: setString \"Line\"", "0.000 statusBar: alpha 0.5 over 0.1",
                            "0.000 statusBar: alpha 1.0 over 0.1", "0.100 trust: isTrusted",
                            "0.100 keys: 36 down flags 0x0", "0.100 keys: 36 up flags 0x0",
                            "0.150 keys: 9 down flags 0x100000", "0.150 keys: 9 up flags 0x100000",
                            "0.150 clipboard: text read", "0.450 clipboard: clear",
                            "0.450 clipboard: setData text/plain;charset=utf-8",
                            "0.450 clipboard: setData image/png"));
    EXPECT_THAT(delegateLog(), Contains("No previous app, pasting to current app"));
    EXPECT_THAT(harness.dailyLog(), Contains("Clipboard restored after 0.3s delay"));
    EXPECT_TRUE(platform().workspace.activated.empty());
    EXPECT_EQ(clipboard().contents, userClipboard);
}

TEST_F(SmartPasteTest, DriftmarksOwnWindowInFrontIsNeverPastedIntoAndKeepsTheCopiedText) {
    platform().workspace.frontmost = RunningApplication{99, std::string(applicationId), "Driftmark"};
    delegate->copyTextToClipboard(smart, true, std::nullopt);
    advanceTo(2);

    EXPECT_THAT(timeline(), Not(Contains(testing::HasSubstr("keys:"))));
    EXPECT_FALSE(clipboard().awaitsTextRead()) << "nothing was pasted, so nothing will read";
    EXPECT_EQ(clipboard().contents, textOnly("Hello")) << "the text stays for the user to paste";
    EXPECT_THAT(harness.dailyLog(), Contains("Clipboard keeps the copied text: nothing was pasted"));

    // The next paste into another application restores as usual.
    platform().workspace.frontmost = editor;
    clipboard().contents = userClipboard;
    delegate->copyTextToClipboard(smart, true, std::nullopt);
    advanceTo(4);
    EXPECT_THAT(timeline(), Contains("2.100 keys: 9 down flags 0x100000"));
    EXPECT_EQ(clipboard().contents, userClipboard);
}

TEST_F(SmartPasteTest, ContextMenuCopiesPlainlyAndPastesIntoTheFrontmostApp) {
    hover(smart, editor);
    statusItem(smart).requestContextMenu();
    const Menu menu = platform().statusBar.poppedMenus.back();
    ASSERT_EQ(menu.entries[1].title, "Paste in Editor");

    menu.entries[0].action(menu.entries[0]);
    advanceTo(2);
    EXPECT_EQ(clipboard().contents, textOnly("Hello"));
    EXPECT_TRUE(platform().keyEventPoster.posted.empty());

    clipboard().contents = userClipboard;
    platform().workspace.frontmost = terminal;
    platform().timeline.clear();
    menu.entries[1].action(menu.entries[1]);
    advanceTo(4);
    EXPECT_THAT(timeline(),
                IsSupersetOf({"2.100 keys: 9 down flags 0x100000", "2.400 clipboard: setData image/png"}));
    EXPECT_TRUE(platform().workspace.activated.empty());
    EXPECT_EQ(clipboard().contents, userClipboard);
    EXPECT_THAT(delegateLog(), IsSupersetOf({"Copy to clipboard for item: Smart, smartPaste: false",
                                             "Copy to clipboard for item: Smart, smartPaste: true"}));
    EXPECT_THAT(harness.dailyLog(), Contains("Copy to clipboard for 'Smart', smartPaste: true"));
}

TEST_F(SmartPasteTest, MissingPermissionFallsBackToAPlainCopy) {
    platform().accessibilityTrust.trusted = false;
    hover(smart, editor);
    statusItem(smart).activate();
    advanceTo(2);

    EXPECT_EQ(clipboard().contents, textOnly("Hello"));
    EXPECT_TRUE(platform().keyEventPoster.posted.empty());
    EXPECT_TRUE(platform().workspace.activated.empty());
    EXPECT_THAT(delegateLog(),
                IsSupersetOf({"Smart Paste requested - Accessibility permissions: NOT GRANTED",
                              "Smart Paste enabled but no accessibility permissions - falling back "
                              "to regular copy"}));
    EXPECT_THAT(harness.dailyLog(),
                IsSupersetOf({"Smart Paste requested - Accessibility permissions: NOT GRANTED",
                              "WARNING: Smart Paste enabled but no accessibility permissions - "
                              "falling back to regular copy"}));
}

TEST_F(SmartPasteTest, PermissionLostBeforeThePastePostsNothingButStillRestores) {
    for (const bool remembered : {true, false}) {
        SCOPED_TRACE(remembered ? "with remembered app" : "without");
        clipboard().contents = userClipboard;
        platform().accessibilityTrust.trusted = true;
        const double start = platform().mainQueue.now();
        delegate->copyTextToClipboard(smart, true, remembered ? std::optional(editor) : std::nullopt);
        platform().accessibilityTrust.trusted = false;
        advanceTo(start + (remembered ? 0.899 : 0.399));
        EXPECT_EQ(clipboard().contents, textOnly("Hello"));
        advanceTo(start + (remembered ? 0.9 : 0.4));
        EXPECT_EQ(clipboard().contents, userClipboard);
        advanceTo(start + 2);
    }
    EXPECT_TRUE(platform().keyEventPoster.posted.empty());
    EXPECT_THAT(delegateLog(), Contains("Cannot paste - no accessibility permissions!"));
    EXPECT_THAT(harness.dailyLog(),
                IsSupersetOf({"Paste action - Accessibility permissions: NOT GRANTED",
                              "ERROR: Cannot paste - no accessibility permissions!",
                              "Clipboard restored after 0.8s delay", "Clipboard restored after 0.3s delay"}));
}

TEST_F(SmartPasteTest, ClipboardWithNothingToSaveKeepsTheItemsText) {
    const auto runWith = [this](const FakeClipboard::Contents& contents, bool listsTypes) {
        clipboard().contents = contents;
        clipboard().listsTypes = listsTypes;
        delegate->copyTextToClipboard(smart, true, std::nullopt);
        advanceTo(platform().mainQueue.now() + 2);
        return clipboard().contents;
    };
    EXPECT_EQ(runWith({}, true), textOnly("Hello"));
    EXPECT_EQ(runWith(userClipboard, false), textOnly("Hello"));
    EXPECT_EQ(runWith({{"image/png", std::nullopt}}, true), textOnly("Hello"));
    EXPECT_EQ(platform().keyEventPoster.posted.size(), 6u);
    // A restore that put nothing back is not called one.
    const auto daily = harness.dailyLog();
    EXPECT_EQ(
        std::count(daily.begin(), daily.end(),
                   "Clipboard not restored after 0.3s delay: it held nothing to save; the copied text stays"),
        3);
    EXPECT_THAT(daily, Not(Contains(HasSubstr("Clipboard restored"))));
}

TEST_F(SmartPasteTest, KeyEventsThatCannotBeMadeAreSkipped) {
    platform().keyEventPoster.uncreatable = {{36, true}, {9, true}};
    delegate->copyTextToClipboard(newline, true, std::nullopt);
    advanceTo(2);

    EXPECT_THAT(timeline(), IsSupersetOf({"0.100 keys: 36 up flags 0x0", "0.150 keys: 9 up flags 0x100000"}));
    EXPECT_EQ(platform().keyEventPoster.posted.size(), 2u);
    const auto log = delegateLog();
    EXPECT_THAT(log, IsSupersetOf({"Failed to create key down event", "Posted Cmd+V key up event"}));
    EXPECT_THAT(log, Not(Contains("Posted Enter key down event")));
    EXPECT_EQ(clipboard().contents, userClipboard);
}

TEST_F(SmartPasteTest, AKeystrokeThatCannotBeTypedIsLoggedAsAFailureNotAsDone) {
    platform().keyEventPoster.untypable = {{9, true}};
    delegate->copyTextToClipboard(smart, true, std::nullopt);
    advanceTo(4);

    EXPECT_THAT(timeline(), Contains("0.100 keys: 9 up flags 0x100000"));
    const auto log = delegateLog();
    EXPECT_THAT(log, IsSupersetOf({"Failed to post Cmd+V key down event", "Posted Cmd+V key up event",
                                   "pasteToActiveApp failed: the paste was not typed"}));
    EXPECT_THAT(log, Not(Contains("Posted Cmd+V key down event")));
    EXPECT_THAT(log, Not(Contains("pasteToActiveApp completed")));
    EXPECT_THAT(harness.dailyLog(), Contains(HasSubstr("ERROR: Failed to post Cmd+V key down event")));
}

TEST_F(SmartPasteTest, DelegateGoneBeforeThePasteStageEndsTheSequence) {
    delegate->copyTextToClipboard(smart, true, editor);
    delegate.reset();
    advanceTo(2);

    EXPECT_TRUE(platform().workspace.activated.empty());
    EXPECT_TRUE(platform().keyEventPoster.posted.empty());
    EXPECT_EQ(clipboard().contents, textOnly("Hello"));
}

TEST_F(SmartPasteTest, DelegateGoneDuringTheSaveWritesNothing) {
    clipboard().answersAtOnce = false;
    delegate->copyTextToClipboard(smart, true, editor);
    delegate.reset();
    clipboard().answerRead();
    advanceTo(2);

    EXPECT_TRUE(platform().workspace.activated.empty());
    EXPECT_TRUE(platform().keyEventPoster.posted.empty());
    EXPECT_EQ(clipboard().contents, userClipboard);
}

TEST_F(SmartPasteTest, EntryWithoutStatusItemIsCopiedWithoutFlash) {
    delegate->copyTextToClipboard(makeItem("Elsewhere", "shortcut text", false), false, std::nullopt);
    EXPECT_EQ(clipboard().contents, textOnly("shortcut text"));
    EXPECT_THAT(timeline(), Not(Contains(testing::HasSubstr("alpha"))));
}

// Overlapping sequences: only the first saves, only the last to finish restores.
TEST_F(SmartPasteTest, OverlappingSequenceEndingFirstLeavesTheRestoreToTheOther) {
    hover(smart, editor);
    statusItem(smart).activate();
    advanceTo(0.2);
    delegate->copyTextToClipboard(newline, true, std::nullopt);

    advanceTo(0.7);
    EXPECT_EQ(clipboard().contents, textOnly("Line"));
    advanceTo(0.9);
    EXPECT_EQ(clipboard().contents, userClipboard);
    const auto daily = harness.dailyLog();
    EXPECT_THAT(daily,
                IsSupersetOf({"Clipboard restore after 0.3s delay left to the Smart Paste still in progress",
                              "Clipboard restored after 0.8s delay"}));
    EXPECT_THAT(daily, Not(Contains("Clipboard restored after 0.3s delay")));
}

TEST_F(SmartPasteTest, OverlappingSequenceEndingLastRestoresWhatTheFirstSaved) {
    delegate->copyTextToClipboard(smart, true, std::nullopt);
    advanceTo(0.1);
    delegate->copyTextToClipboard(newline, true, editor);

    advanceTo(0.5);
    EXPECT_EQ(clipboard().contents, textOnly("Line"));
    advanceTo(1.0);
    EXPECT_EQ(clipboard().contents, userClipboard);

    // Once every sequence has finished, the next one saves the clipboard afresh.
    clipboard().contents = textOnly("fresh");
    delegate->copyTextToClipboard(smart, true, std::nullopt);
    advanceTo(2);
    EXPECT_EQ(clipboard().contents, textOnly("fresh"));
}

TEST_F(SmartPasteTest, PlainCopyDuringASequenceIsWhatTheRestorePutsBack) {
    delegate->copyTextToClipboard(smart, true, std::nullopt);
    advanceTo(0.2);
    statusItem(plain).activate();
    EXPECT_EQ(clipboard().contents, textOnly("plain text"));
    advanceTo(1.0);
    EXPECT_EQ(clipboard().contents, textOnly("plain text"));
}

// The save of the user's clipboard comes before anything is written, and the sequence's timings count
// from the copy that follows it.
TEST_F(SmartPasteTest, TheCopyWaitsForTheSaveAndTheTimingsCountFromIt) {
    clipboard().answersAtOnce = false;
    hover(smart, editor);
    statusItem(smart).activate();
    advanceTo(0.05);
    EXPECT_EQ(clipboard().contents, userClipboard) << "nothing is written while the save runs";
    clipboard().answerRead();
    advanceTo(2);

    EXPECT_THAT(timeline(),
                ElementsAre("0.000 trust: isTrusted", "0.000 trust: isTrusted", "0.000 clipboard: read",
                            "0.050 clipboard: clear", "0.050 clipboard: setString \"Hello\"",
                            "0.050 statusBar: alpha 0.5 over 0.1", "0.050 statusBar: alpha 1.0 over 0.1",
                            "0.150 workspace: activate Editor", "0.150 trust: isTrusted",
                            "0.150 keys: 9 down flags 0x100000", "0.150 keys: 9 up flags 0x100000",
                            "0.150 clipboard: text read", "0.950 clipboard: clear",
                            "0.950 clipboard: setData text/plain;charset=utf-8",
                            "0.950 clipboard: setData image/png"));
    EXPECT_EQ(clipboard().contents, userClipboard);
    const auto daily = harness.dailyLog();
    EXPECT_THAT(daily, Contains("Clipboard restored after 0.8s delay"));
    EXPECT_THAT(daily, Not(Contains(HasSubstr("Clipboard save stopped"))));
}

// An owner that never gives some types: the save ends at its time limit with what came, the paste goes
// ahead, and the log says what was put back and what was lost.
TEST_F(SmartPasteTest, AnOwnerThatDoesNotAnswerIsGivenUpAtTheTimeLimit) {
    clipboard().neverAnswered = {"image/png"};
    delegate->copyTextToClipboard(smart, true, std::nullopt);
    advanceTo(0.299);
    EXPECT_THAT(timeline(), ElementsAre("0.000 trust: isTrusted", "0.000 clipboard: read"));
    advanceTo(2);

    EXPECT_THAT(timeline(),
                ElementsAre("0.000 trust: isTrusted", "0.000 clipboard: read",
                            "0.300 clipboard: read stopped", "0.300 clipboard: clear",
                            "0.300 clipboard: setString \"Hello\"", "0.300 statusBar: alpha 0.5 over 0.1",
                            "0.300 statusBar: alpha 1.0 over 0.1", "0.400 trust: isTrusted",
                            "0.400 keys: 9 down flags 0x100000", "0.400 keys: 9 up flags 0x100000",
                            "0.400 clipboard: text read", "0.700 clipboard: clear",
                            "0.700 clipboard: setData text/plain;charset=utf-8"));
    EXPECT_EQ(clipboard().contents, textOnly("old"));
    const std::string stopped =
        "Clipboard save stopped after 0.3s: no answer for image/png; saved text/plain;charset=utf-8";
    EXPECT_THAT(delegateLog(), Contains(stopped));
    const auto daily = harness.dailyLog();
    const std::vector<std::string> told{stopped, "Clipboard partly restored after 0.3s delay: restored "
                                                 "text/plain;charset=utf-8; lost image/png, which its owner "
                                                 "did not give in time"};
    EXPECT_THAT(daily, IsSupersetOf(told));
    EXPECT_THAT(daily, Not(Contains(HasSubstr("Clipboard restored"))));
}

TEST_F(SmartPasteTest, NothingGivenInTimeIsNoRestore) {
    clipboard().neverAnswered = {plainType, "image/png"};
    hover(smart, editor);
    statusItem(smart).activate();
    advanceTo(2);
    EXPECT_EQ(clipboard().contents, textOnly("Hello"));

    clipboard().contents = userClipboard;
    clipboard().neverLists = true;
    delegate->copyTextToClipboard(smart, true, std::nullopt);
    advanceTo(4);
    EXPECT_EQ(clipboard().contents, textOnly("Hello"));
    EXPECT_EQ(platform().keyEventPoster.posted.size(), 4u);

    const auto daily = harness.dailyLog();
    EXPECT_THAT(daily,
                IsSupersetOf({"Clipboard save stopped after 0.3s: no answer for "
                              "text/plain;charset=utf-8, image/png; nothing saved",
                              "Clipboard not restored after 0.8s delay: lost text/plain;charset=utf-8, "
                              "image/png, which its owner did not give in time; the copied text stays",
                              "Clipboard save stopped after 0.3s: its owner did not list its types",
                              "Clipboard not restored after 0.3s delay: its owner did not list its "
                              "types in time; the copied text stays"}));
    EXPECT_THAT(daily, Not(Contains(HasSubstr("Clipboard restored"))));
}

// Requests made while the save runs are copied when it has finished, in turn; the save runs once.
TEST_F(SmartPasteTest, RequestsDuringTheSaveShareIt) {
    clipboard().answersAtOnce = false;
    delegate->copyTextToClipboard(smart, true, std::nullopt);
    advanceTo(0.1);
    delegate->copyTextToClipboard(newline, true, std::nullopt);
    advanceTo(0.2);
    EXPECT_EQ(clipboard().contents, userClipboard);
    clipboard().answerRead();
    EXPECT_EQ(clipboard().contents, textOnly("Line"));
    advanceTo(2);

    const auto events = timeline();
    EXPECT_EQ(std::count(events.begin(), events.end(), "0.000 clipboard: read"), 1);
    EXPECT_THAT(events,
                IsSupersetOf({"0.200 clipboard: setString \"Hello\"", "0.200 clipboard: setString \"Line\"",
                              "0.300 keys: 36 down flags 0x0", "0.350 keys: 9 down flags 0x100000"}));
    EXPECT_EQ(clipboard().contents, userClipboard);
    EXPECT_THAT(harness.dailyLog(),
                IsSupersetOf({"Clipboard restore after 0.3s delay left to the Smart Paste still in progress",
                              "Clipboard restored after 0.3s delay"}));
}

// A plain copy while the save waits for a slow owner replaces what that save would bring: the restore
// puts back the plain copy, the user's latest, and the Smart Paste does not wait any longer.
TEST_F(SmartPasteTest, APlainCopyDuringTheSaveIsWhatTheRestorePutsBack) {
    clipboard().answersAtOnce = false;
    delegate->copyTextToClipboard(smart, true, std::nullopt);
    advanceTo(0.1);
    clipboard().answersAtOnce = true;
    statusItem(plain).activate();
    EXPECT_EQ(clipboard().contents, textOnly("Hello"));
    advanceTo(2);

    EXPECT_THAT(timeline(),
                IsSupersetOf({"0.100 clipboard: setString \"plain text\"", "0.100 clipboard: read stopped",
                              "0.100 clipboard: setString \"Hello\"", "0.200 keys: 9 down flags 0x100000",
                              "0.500 clipboard: setData text/plain;charset=utf-8"}));
    EXPECT_EQ(clipboard().contents, textOnly("plain text"));
    const auto daily = harness.dailyLog();
    EXPECT_THAT(daily, Contains("Clipboard restored after 0.3s delay"));
    EXPECT_THAT(daily, Not(Contains(HasSubstr("Clipboard save stopped"))));
}

// A quit between the copy and the restore puts the user's clipboard back at once, for a clipboard
// manager to take over; nothing is put back twice.
TEST_F(SmartPasteTest, AQuitDuringTheSequencePutsTheClipboardBackFirst) {
    hover(smart, editor);
    statusItem(smart).activate();
    advanceTo(0.7);
    EXPECT_EQ(clipboard().contents, textOnly("Hello"));
    platform().timeline.clear();

    delegate->applicationWillTerminate();
    EXPECT_EQ(clipboard().contents, userClipboard);
    const std::vector<std::string> restored{"0.700 clipboard: clear",
                                            "0.700 clipboard: setData text/plain;charset=utf-8",
                                            "0.700 clipboard: setData image/png"};
    EXPECT_EQ(timeline(), restored);
    advanceTo(2);
    EXPECT_EQ(timeline(), restored);
    const auto daily = harness.dailyLog();
    EXPECT_THAT(daily, Contains("Clipboard restored at quit"));
    EXPECT_THAT(daily, Not(Contains(HasSubstr("Clipboard restored after"))));
}

TEST_F(SmartPasteTest, AQuitDuringTheSaveWritesNothing) {
    clipboard().neverAnswered = {"image/png"};
    delegate->copyTextToClipboard(smart, true, std::nullopt);
    advanceTo(0.1);
    delegate->applicationWillTerminate();
    advanceTo(2);

    EXPECT_EQ(clipboard().contents, userClipboard);
    EXPECT_FALSE(clipboard().isReading());
    EXPECT_TRUE(platform().keyEventPoster.posted.empty());
    const auto daily = harness.dailyLog();
    EXPECT_THAT(daily, Not(Contains(testing::StartsWith("Clipboard"))));
    EXPECT_THAT(daily, Not(Contains(HasSubstr("Clipboard now contains"))));
}

TEST_F(SmartPasteTest, AQuitWithNoSmartPasteInFlightLeavesTheClipboardAlone) {
    delegate->copyTextToClipboard(smart, true, std::nullopt);
    advanceTo(2);
    statusItem(plain).activate();
    platform().timeline.clear();

    delegate->applicationWillTerminate();
    EXPECT_TRUE(timeline().empty());
    EXPECT_EQ(clipboard().contents, textOnly("plain text"));
    EXPECT_THAT(harness.dailyLog(), Not(Contains(HasSubstr("at quit"))));
}

} // namespace
} // namespace driftmark
