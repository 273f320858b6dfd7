#include "platform/linux/tray/TrayLayout.h"

#include <gtest/gtest.h>

namespace driftmark {
namespace {

TEST(TrayLayoutTest, IconFillsTheShorterSideOfTheSlotOnWholePixels) {
    const IconPlacement square = placeIcon(18, 22, 22);
    EXPECT_EQ(square.x, 0);
    EXPECT_EQ(square.y, 0);
    EXPECT_EQ(square.side, 22);
    EXPECT_DOUBLE_EQ(square.scale, 22.0 / 18.0);

    // A slot stretched along the panel keeps the disc round and centred.
    const IconPlacement wide = placeIcon(18, 46, 22);
    EXPECT_EQ(wide.x, 12);
    EXPECT_EQ(wide.y, 0);
    EXPECT_EQ(wide.side, 22);

    const IconPlacement tall = placeIcon(18, 22, 47);
    EXPECT_EQ(tall.x, 0);
    EXPECT_EQ(tall.y, 12);
    EXPECT_EQ(tall.side, 22);
    EXPECT_DOUBLE_EQ(tall.scale, 22.0 / 18.0);
}

TEST(TrayLayoutTest, EmptySlotOrIconDrawsNothing) {
    EXPECT_EQ(placeIcon(18, 0, 22).side, 0);
    EXPECT_EQ(placeIcon(18, -3, 22).side, 0);
    EXPECT_DOUBLE_EQ(placeIcon(18, 0, 22).scale, 0);
    EXPECT_DOUBLE_EQ(placeIcon(0, 22, 22).scale, 0);
}

constexpr Rect screen{0, 0, 1280, 800};

TEST(TrayLayoutTest, MenuOpensBelowAnIconInATopPanel) {
    const Point origin = contextMenuOrigin(Rect{100, 1, 22, 22}, 300, 200, screen);
    EXPECT_DOUBLE_EQ(origin.x, 100);
    EXPECT_DOUBLE_EQ(origin.y, 23);
}

TEST(TrayLayoutTest, MenuOpensAboveAnIconInABottomPanel) {
    const Point origin = contextMenuOrigin(Rect{100, 776, 22, 22}, 300, 200, screen);
    EXPECT_DOUBLE_EQ(origin.y, 576);
}

TEST(TrayLayoutTest, MenuTooTallForEitherSideTakesTheRoomierOne) {
    EXPECT_DOUBLE_EQ(contextMenuOrigin(Rect{100, 300, 22, 22}, 300, 700, screen).y, 322);
    EXPECT_DOUBLE_EQ(contextMenuOrigin(Rect{100, 500, 22, 22}, 300, 700, screen).y, -200);
}

TEST(TrayLayoutTest, MenuMovesLeftToStayOnItsScreen) {
    EXPECT_DOUBLE_EQ(contextMenuOrigin(Rect{1257, 1, 22, 22}, 300, 200, screen).x, 980);

    // A second screen to the right: the menu stays within it on both sides.
    const Rect right{1280, 0, 1920, 1080};
    EXPECT_DOUBLE_EQ(contextMenuOrigin(Rect{3178, 1, 22, 22}, 300, 200, right).x, 2900);
    EXPECT_DOUBLE_EQ(contextMenuOrigin(Rect{1275, 1, 22, 22}, 300, 200, right).x, 1280);
}

} // namespace
} // namespace driftmark
