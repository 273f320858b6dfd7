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

const RunningApplication xterm{7, "XTerm", "XTerm"};
const RunningApplication lxterminal{8, "Lxterminal", "Lxterminal"};
const RunningApplication editor{9, "Gedit", "Gedit"};
constexpr const char* plainType = FakeClipboard::plainTextType;

// Smart Paste into terminals: the chord follows the window pasted into, and a window that pastes the
// PRIMARY selection gets the text there, with the user's selection saved and put back like the clipboard.
class SmartPasteChordTest : public testing::Test {
protected:
    SmartPasteChordTest() {
        delegate->applicationDidFinishLaunching();
        clipboard().contents = userClipboard;
        primary().contents = userPrimary;
        platform().timeline.clear();
    }

    test::FakePlatform& platform() { return harness.platform; }
    FakeClipboard& clipboard() { return platform().clipboard; }
    FakeClipboard& primary() { return platform().primarySelection; }
    void advanceTo(double seconds) { platform().mainQueue.advance(seconds - platform().mainQueue.now()); }
    std::vector<std::string> timeline() const { return harness.platform.timeline.without("log"); }
    std::vector<std::string> primaryEvents() const {
        std::vector<std::string> events;
        for (const auto& event : timeline()) {
            if (event.find(" primary: ") != std::string::npos) {
                events.push_back(event);
            }
        }
        return events;
    }
    FakeClipboard::Contents textOnly(const std::string& text) const { return {{plainType, bytesOf(text)}}; }

    MenuBarItem smart = makeItem("Smart", "Hello", true, 0);
    MenuBarItem newline = makeItem("Newline", "Line", true, 1, true);
    test::AppHarness harness{{smart, newline}};
    std::shared_ptr<AppDelegate> delegate = harness.makeDelegate();
    const FakeClipboard::Contents userClipboard{{plainType, bytesOf("old")}};
    const FakeClipboard::Contents userPrimary{{plainType, bytesOf("selected")},
                                              {"text/html", bytesOf("<b>selected</b>")}};
};

TEST_F(SmartPasteChordTest, TerminalsThatPasteTheClipboardGetControlShiftV) {
    delegate->copyTextToClipboard(newline, true, lxterminal);
    advanceTo(2);

    EXPECT_THAT(timeline(),
                IsSupersetOf({"0.100 workspace: activate Lxterminal", "0.100 keys: 36 down flags 0x0",
                              "0.150 keys: 9 down flags 0x120000", "0.150 keys: 9 up flags 0x120000",
                              "0.900 clipboard: setData text/plain;charset=utf-8"}));
    EXPECT_THAT(primaryEvents(), testing::IsEmpty()) << "PRIMARY is none of this terminal's business";
    EXPECT_EQ(clipboard().contents, userClipboard);
    EXPECT_THAT(harness.dailyLog(), Contains("Paste chord for Lxterminal: Ctrl+Shift+V"));
}

TEST_F(SmartPasteChordTest, XTermGetsTheTextInPrimaryAndShiftInsertAndBothSelectionsBack) {
    delegate->copyTextToClipboard(smart, true, xterm);
    advanceTo(0.7);
    EXPECT_EQ(primary().contents, textOnly("Hello"));
    EXPECT_EQ(clipboard().contents, textOnly("Hello"));
    advanceTo(2);

    EXPECT_THAT(
        timeline(),
        ElementsAre("0.000 trust: isTrusted", "0.000 clipboard: read", "0.000 clipboard: clear",
                    "0.000 clipboard: setString \"Hello\"", "0.000 statusBar: alpha 0.5 over 0.1",
                    "0.000 statusBar: alpha 1.0 over 0.1", "0.100 primary: read", "0.100 primary: clear",
                    "0.100 primary: setString \"Hello\"", "0.100 workspace: activate XTerm",
                    "0.100 trust: isTrusted", "0.100 keys: 114 down flags 0x20000",
                    "0.100 keys: 114 up flags 0x20000", "0.100 primary: text read", "0.900 clipboard: clear",
                    "0.900 clipboard: setData text/plain;charset=utf-8", "0.900 primary: clear",
                    "0.900 primary: setData text/plain;charset=utf-8", "0.900 primary: setData text/html"));
    EXPECT_EQ(clipboard().contents, userClipboard);
    EXPECT_EQ(primary().contents, userPrimary);
    EXPECT_THAT(harness.dailyLog(),
                IsSupersetOf({"Paste chord for XTerm: Shift+Insert", "Clipboard restored after 0.8s delay",
                              "Primary selection restored after 0.8s delay"}));
    // The paste keystroke keeps its log lines whatever its chord.
    EXPECT_THAT(platform().logMessages("AppDelegate"), Contains("Posted Cmd+V key down event"));
}

// A terminal that pastes PRIMARY reads that, not the clipboard: the restore of both follows its read.
TEST_F(SmartPasteChordTest, TheRestoreFollowsALateReadOfPrimary) {
    clipboard().pasteReadsAfter.reset();
    primary().pasteReadsAfter = 1.0;
    delegate->copyTextToClipboard(smart, true, xterm);
    advanceTo(1.099);
    EXPECT_EQ(primary().contents, textOnly("Hello"));
    EXPECT_EQ(clipboard().contents, textOnly("Hello"));
    EXPECT_FALSE(clipboard().awaitsTextRead()) << "xterm does not paste the clipboard";
    advanceTo(1.1);

    EXPECT_EQ(primary().contents, userPrimary);
    EXPECT_EQ(clipboard().contents, userClipboard);
    EXPECT_THAT(
        harness.dailyLog(),
        IsSupersetOf(
            {"Primary selection restored 1s after the paste keystroke, once the entry's text was read",
             "Clipboard restored 1s after the paste keystroke, once the entry's text was read"}));
}

TEST_F(SmartPasteChordTest, WithoutRememberedAppTheFrontmostWindowAtThePasteStageChooses) {
    platform().workspace.frontmost = editor;
    delegate->copyTextToClipboard(smart, true, std::nullopt);
    platform().workspace.frontmost = xterm;
    advanceTo(2);

    EXPECT_THAT(timeline(),
                IsSupersetOf({"0.100 primary: setString \"Hello\"", "0.100 keys: 114 down flags 0x20000",
                              "0.400 primary: setData text/html"}));
    EXPECT_TRUE(platform().workspace.activated.empty());
    EXPECT_EQ(primary().contents, userPrimary);
    EXPECT_THAT(harness.dailyLog(), IsSupersetOf({"Paste chord for XTerm: Shift+Insert",
                                                  "Primary selection restored after 0.3s delay"}));
}

TEST_F(SmartPasteChordTest, ChordsOfTheUsersTableAreUsed) {
    harness.preferences.set("pasteChords",
                            std::string(R"({"gedit": "shift+insert", "XTerm": "ctrl+shift+v"})"));
    delegate->copyTextToClipboard(smart, true, editor);
    advanceTo(2);
    delegate->copyTextToClipboard(smart, true, xterm);
    advanceTo(4);

    const auto events = timeline();
    EXPECT_THAT(events,
                IsSupersetOf({"0.100 keys: 114 down flags 0x20000", "2.100 keys: 9 down flags 0x120000"}));
    EXPECT_EQ(std::count(events.begin(), events.end(), "0.100 primary: read"), 1);
    EXPECT_THAT(events, Not(Contains(HasSubstr("2.100 primary:"))));
    EXPECT_EQ(primary().contents, userPrimary);
}

// An owner of PRIMARY that is slow holds the paste up until it answers, no longer than the time limit, and
// the sequence's timings count from there.
TEST_F(SmartPasteChordTest, ThePasteWaitsForTheSaveOfPrimary) {
    primary().answersAtOnce = false;
    delegate->copyTextToClipboard(smart, true, xterm);
    advanceTo(0.15);
    EXPECT_EQ(primary().contents, userPrimary) << "nothing is written while the save runs";
    EXPECT_TRUE(platform().workspace.activated.empty());
    primary().answerRead();
    advanceTo(2);

    EXPECT_THAT(timeline(),
                IsSupersetOf({"0.150 primary: setString \"Hello\"", "0.150 workspace: activate XTerm",
                              "0.150 keys: 114 down flags 0x20000", "0.950 primary: setData text/html"}));
    EXPECT_EQ(primary().contents, userPrimary);
}

TEST_F(SmartPasteChordTest, APrimaryOwnerThatDoesNotAnswerIsGivenUpAtTheTimeLimit) {
    primary().neverAnswered = {"text/html"};
    delegate->copyTextToClipboard(smart, true, xterm);
    advanceTo(2);

    EXPECT_THAT(timeline(), IsSupersetOf({"0.400 primary: read stopped", "0.400 primary: setString \"Hello\"",
                                          "0.400 keys: 114 down flags 0x20000", "1.200 primary: clear"}));
    EXPECT_EQ(primary().contents, textOnly("selected"));
    EXPECT_THAT(harness.dailyLog(),
                IsSupersetOf(
                    {"Primary selection save stopped after 0.3s: no answer for text/html; saved "
                     "text/plain;charset=utf-8",
                     "Primary selection partly restored after 0.8s delay: restored text/plain;charset=utf-8; "
                     "lost text/html, which its owner did not give in time",
                     "Clipboard restored after 0.8s delay"}));
}

// Overlapping pastes into terminals save PRIMARY once and put the user's selection back once, at the end.
TEST_F(SmartPasteChordTest, OverlappingPastesSaveAndRestorePrimaryOnce) {
    delegate->copyTextToClipboard(smart, true, xterm);
    advanceTo(0.3);
    delegate->copyTextToClipboard(newline, true, std::nullopt);
    platform().workspace.frontmost = xterm;
    advanceTo(0.45);
    EXPECT_EQ(primary().contents, textOnly("Line"));
    advanceTo(2);

    EXPECT_THAT(primaryEvents(), ElementsAre("0.100 primary: read", "0.100 primary: clear",
                                             "0.100 primary: setString \"Hello\"", "0.100 primary: text read",
                                             "0.400 primary: clear", "0.400 primary: setString \"Line\"",
                                             "0.450 primary: text read", "0.900 primary: clear",
                                             "0.900 primary: setData text/plain;charset=utf-8",
                                             "0.900 primary: setData text/html"));
    EXPECT_EQ(primary().contents, userPrimary);
    EXPECT_EQ(clipboard().contents, userClipboard);
}

TEST_F(SmartPasteChordTest, AQuitPutsPrimaryBackOnlyOnceItWasWritten) {
    delegate->copyTextToClipboard(smart, true, xterm);
    advanceTo(0.7);
    delegate->applicationWillTerminate();
    EXPECT_EQ(primary().contents, userPrimary);
    EXPECT_EQ(clipboard().contents, userClipboard);
    EXPECT_THAT(harness.dailyLog(), Contains("Primary selection restored at quit"));
}

TEST_F(SmartPasteChordTest, AQuitDuringTheSaveOfPrimaryWritesNothingThere) {
    primary().neverAnswered = {"text/html"};
    delegate->copyTextToClipboard(smart, true, xterm);
    advanceTo(0.2);
    delegate->applicationWillTerminate();
    advanceTo(2);

    EXPECT_EQ(primary().contents, userPrimary);
    EXPECT_FALSE(primary().isReading());
    EXPECT_EQ(clipboard().contents, userClipboard);
    EXPECT_TRUE(platform().keyEventPoster.posted.empty());
    EXPECT_THAT(harness.dailyLog(), Not(Contains(HasSubstr("Primary selection"))));
}

} // namespace
} // namespace driftmark
