#include "platform/linux/wayland/WaylandShortfall.h"

#include <gtest/gtest.h>

namespace driftmark {
namespace {

bool mentions(const std::optional<std::string>& notice, const char* text) {
    return notice && notice->find(text) != std::string::npos;
}

TEST(WaylandShortfall, SaysNothingWhereTheCompositorOffersEverything) {
    EXPECT_FALSE(waylandShortfall({true, true, true, true}).has_value());
}

TEST(WaylandShortfall, NamesEachMissingPieceAndWhatItCosts) {
    const auto noKeys = waylandShortfall({true, true, false, true});
    EXPECT_TRUE(mentions(noKeys, "No virtual keyboard"));
    EXPECT_FALSE(mentions(noKeys, "data-control"));
    EXPECT_FALSE(mentions(noKeys, "list of windows"));

    // GNOME's compositor: none of the three.
    const auto gnome = waylandShortfall({true, false, false, false});
    EXPECT_TRUE(mentions(gnome, "No data-control protocol"));
    EXPECT_TRUE(mentions(gnome, "No virtual keyboard"));
    EXPECT_TRUE(mentions(gnome, "No list of windows"));
    EXPECT_TRUE(mentions(gnome, "through XWayland"));

    const auto unreachable = waylandShortfall({false, false, false, false});
    EXPECT_TRUE(mentions(unreachable, "cannot reach the Wayland compositor"));
    EXPECT_TRUE(mentions(unreachable, "No virtual keyboard"));
}

} // namespace
} // namespace driftmark
