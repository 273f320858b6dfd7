#include "platform/linux/wayland/ToplevelFocusHistory.h"

#include <gtest/gtest.h>

namespace driftmark {
namespace {

TEST(ToplevelFocusHistoryTest, ThePreviousApplicationIsTheLastActivatedWindowNotDriftmarks) {
    ToplevelFocusHistory history;
    const auto editor = history.added();
    const auto terminal = history.added();
    const auto settings = history.added();
    const auto xwaylandSettings = history.added();
    EXPECT_FALSE(history.previous());

    history.committed(editor, {"org.example.Editor", "notes.txt", true});
    history.committed(editor, {"org.example.Editor", "notes.txt", false});
    history.committed(terminal, {"foot", "", true});
    EXPECT_EQ(history.previous(), (RunningApplication{terminal, "foot", "foot"}))
        << "untitled: named by app_id";

    history.committed(terminal, {"foot", "", false});
    history.committed(settings, {"app.driftmark.menubar", "Settings", true});
    EXPECT_EQ(history.frontmost(), (RunningApplication{settings, "app.driftmark.menubar", "Settings"}));
    history.committed(settings, {"app.driftmark.menubar", "Settings", false});
    history.committed(xwaylandSettings, {"driftmark-menubar", "Settings", true});
    EXPECT_EQ(history.frontmost()->bundleIdentifier, "app.driftmark.menubar");
    EXPECT_EQ(history.previous()->handle, terminal);

    // Nothing is active (an empty workspace, say): the previous application stays.
    history.committed(xwaylandSettings, {"driftmark-menubar", "Settings", false});
    EXPECT_FALSE(history.frontmost());
    EXPECT_EQ(history.previous()->handle, terminal);
}

TEST(ToplevelFocusHistoryTest, OnlyANewActivationCounts) {
    ToplevelFocusHistory history;
    const auto editor = history.added();
    const auto browser = history.added();
    history.committed(editor, {"org.example.Editor", "a", true});
    history.committed(browser, {"org.example.Browser", "b", true}); // a second seat's
    history.committed(editor, {"org.example.Editor", "a (changed)", true});
    EXPECT_EQ(history.frontmost()->handle, browser);
    EXPECT_EQ(history.previous()->handle, browser);
    history.committed(browser, {"org.example.Browser", "b", false});
    EXPECT_EQ(history.frontmost(), (RunningApplication{editor, "org.example.Editor", "a (changed)"}));
}

TEST(ToplevelFocusHistoryTest, AClosedWindowIsForgottenAndItsNumberNeverComesBack) {
    ToplevelFocusHistory history;
    const auto editor = history.added();
    const auto terminal = history.added();
    history.committed(terminal, {"foot", "shell", true});
    history.closed(editor);
    EXPECT_EQ(history.previous()->handle, terminal);
    history.closed(terminal);
    EXPECT_FALSE(history.previous());
    EXPECT_FALSE(history.frontmost());

    const auto later = history.added();
    EXPECT_TRUE(later != editor && later != terminal);
    history.committed(terminal, {"foot", "shell", true});
    EXPECT_FALSE(history.frontmost()) << "news of a closed window is ignored";
}

} // namespace
} // namespace driftmark
