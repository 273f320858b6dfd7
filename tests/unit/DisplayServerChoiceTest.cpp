#include "platform/linux/DisplayServerChoice.h"

#include <gtest/gtest.h>

namespace driftmark {
namespace {

TEST(DisplayServerChoiceTest, ReadsTheTwoNamesAndNothingElse) {
    EXPECT_EQ(parseDisplayServerPreference(""), DisplayServerPreference::automatic);
    EXPECT_EQ(parseDisplayServerPreference("x11"), DisplayServerPreference::x11);
    EXPECT_EQ(parseDisplayServerPreference("wayland"), DisplayServerPreference::wayland);
    EXPECT_EQ(parseDisplayServerPreference("X11"), std::nullopt);
    EXPECT_EQ(parseDisplayServerPreference("xcb"), std::nullopt);
    EXPECT_EQ(parseDisplayServerPreference("wayland "), std::nullopt);
}

TEST(DisplayServerChoiceTest, AutomaticallyWaylandOnlyWhereItsCompositorLetsDriftmarkCopy) {
    const auto automatic = [](DisplaySession session) {
        return displayServerFor(DisplayServerPreference::automatic, session);
    };
    EXPECT_EQ(automatic({.x11 = true}), DisplayServer::x11);
    EXPECT_EQ(automatic({}), DisplayServer::x11);
    // sway, KWin: native.
    EXPECT_EQ(automatic({.x11 = true, .wayland = true, .compositorControlsClipboard = true}),
              DisplayServer::wayland);
    // GNOME: XWayland copies where a native client could not.
    EXPECT_EQ(automatic({.x11 = true, .wayland = true}), DisplayServer::x11);
    // Without XWayland there is nothing better than the compositor itself.
    EXPECT_EQ(automatic({.wayland = true}), DisplayServer::wayland);
}

TEST(DisplayServerChoiceTest, AChosenServerStaysWhateverTheSession) {
    for (const DisplaySession session :
         {DisplaySession{}, DisplaySession{.x11 = true, .wayland = true, .compositorControlsClipboard = true},
          DisplaySession{.wayland = true}}) {
        EXPECT_EQ(displayServerFor(DisplayServerPreference::x11, session), DisplayServer::x11);
        EXPECT_EQ(displayServerFor(DisplayServerPreference::wayland, session), DisplayServer::wayland);
    }
}

} // namespace
} // namespace driftmark
