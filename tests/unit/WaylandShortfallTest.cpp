#include "platform/linux/wayland/WaylandShortfall.h"

#include <gtest/gtest.h>

namespace driftmark {
namespace {

bool mentions(const std::string& notice, const char* text) {
    return notice.find(text) != std::string::npos;
}

// Shortcuts go through XWayland whatever the compositor offers: the notice always says how to bind one.
TEST(WaylandShortfall, OnlyTheShortcutsAdviceWhereTheCompositorOffersEverything) {
    const auto sway = waylandShortfall({true, true, true, true});
    EXPECT_TRUE(mentions(sway, "bindsym Ctrl+Shift+u exec driftmark-menubar --paste 1"));
    EXPECT_FALSE(mentions(sway, "through XWayland instead"));
    EXPECT_FALSE(mentions(sway, "No "));
}

TEST(WaylandShortfall, NamesEachMissingPieceAndWhatItCosts) {
    const auto noKeys = waylandShortfall({true, true, false, true});
    EXPECT_TRUE(mentions(noKeys, "No virtual keyboard (nor KDE's fake input)"));
    EXPECT_FALSE(mentions(noKeys, "data-control"));
    EXPECT_FALSE(mentions(noKeys, "list of windows"));

    // GNOME's compositor: none of the three.
    const auto gnome = waylandShortfall({true, false, false, false});
    EXPECT_TRUE(mentions(gnome, "No data-control protocol"));
    EXPECT_TRUE(mentions(gnome, "No virtual keyboard"));
    EXPECT_TRUE(mentions(gnome, "No list of windows"));
    EXPECT_TRUE(mentions(gnome, "through XWayland instead"));
    EXPECT_TRUE(mentions(gnome, "driftmark-menubar --paste N"));

    const auto unreachable = waylandShortfall({false, false, false, false});
    EXPECT_TRUE(mentions(unreachable, "cannot reach the Wayland compositor"));
    EXPECT_TRUE(mentions(unreachable, "No virtual keyboard"));
}

TEST(WaylandShortfall, ANativeClientIsToldWhatItCostsThereAndWhereShortcutsComeFrom) {
    // sway: everything but a global-shortcuts portal, said in one short sentence.
    const auto sway = waylandShortfall({true, true, true, true, true});
    EXPECT_FALSE(mentions(sway, "XWayland"));
    EXPECT_TRUE(mentions(sway, "No global-shortcuts portal"));
    EXPECT_TRUE(mentions(sway, "bind `driftmark-menubar --paste N`"));
    EXPECT_LT(sway.size(), 140u);

    // KDE Plasma: everything, and its portal takes the shortcuts; nothing to say.
    EXPECT_EQ(waylandShortfall({true, true, true, true, true, true}), "");

    // Forced onto a compositor without data control: copying needs the focus, and the way out is named.
    const auto gnome = waylandShortfall({true, false, false, false, true});
    EXPECT_TRUE(mentions(gnome, "only while a Driftmark window has the focus"));
    EXPECT_TRUE(mentions(gnome, "--display-server x11"));
    EXPECT_TRUE(mentions(gnome, "Smart Paste only copies"));
    EXPECT_TRUE(mentions(gnome, "No list of windows"));
    EXPECT_FALSE(mentions(gnome, "through XWayland instead"));
    EXPECT_FALSE(mentions(gnome, "XTEST"));
}

} // namespace
} // namespace driftmark
