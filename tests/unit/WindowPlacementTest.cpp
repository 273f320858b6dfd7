#include "app/WindowPlacement.h"

#include <gtest/gtest.h>

namespace driftmark {
namespace {

// An openbox-like frame: a title bar and thin borders.
constexpr FrameMargins titleBar{1, 20, 1, 5};

// The whole window, frame included, lies inside the free area.
void expectWithin(const WindowPlacement& placement, Rect available, FrameMargins frame) {
    const Rect& client = placement.client;
    EXPECT_GE(client.x - frame.left, available.x);
    EXPECT_GE(client.y - frame.top, available.y);
    EXPECT_LE(client.x + client.width + frame.right, available.x + available.width);
    EXPECT_LE(client.y + client.height + frame.bottom, available.y + available.height);
}

TEST(WindowPlacementTest, AWindowThatFitsKeepsItsSizeAndIsCentredFrameIncluded) {
    const Rect screen{0, 0, 1920, 1080};
    const WindowPlacement placement = centredPlacement({800, 820}, {700, 500}, screen, titleBar);
    EXPECT_EQ(placement.client.width, 800);
    EXPECT_EQ(placement.client.height, 820);
    EXPECT_EQ(placement.minimumSize, (Size{700, 500}));
    // 820 + 25 of frame, centred in 1080: the frame starts 117.5 down, the client 20 below it.
    EXPECT_DOUBLE_EQ(placement.client.y, 137.5);
    EXPECT_DOUBLE_EQ(placement.client.x, 560);
    expectWithin(placement, screen, titleBar);
}

TEST(WindowPlacementTest, OnALowScreenTheWindowShrinksToTheFreeAreaBesidePanels) {
    // A laptop's 1366 x 768 with a 32-pixel panel at the top.
    const Rect available{0, 32, 1366, 736};
    const WindowPlacement placement = centredPlacement({800, 820}, {700, 500}, available, titleBar);
    EXPECT_EQ(placement.client.width, 800);
    EXPECT_EQ(placement.client.height, 736 - 25);
    EXPECT_DOUBLE_EQ(placement.client.y, 32 + 20);
    expectWithin(placement, available, titleBar);
}

TEST(WindowPlacementTest, ScreensSmallerThanTheMinimumShrinkTheMinimumToo) {
    // 1366 x 768 at scale 2: 683 x 384 of the window's own pixels.
    const Rect available{0, 0, 683, 384};
    const WindowPlacement placement = centredPlacement({800, 820}, {700, 500}, available, titleBar);
    EXPECT_EQ(placement.client.width, 681);
    EXPECT_EQ(placement.client.height, 359);
    EXPECT_EQ(placement.minimumSize, (Size{681, 359}));
    expectWithin(placement, available, titleBar);

    // The minimum is a floor only where the screen has room for it.
    const WindowPlacement tiny = centredPlacement({300, 200}, {700, 500}, {0, 0, 1920, 1080}, titleBar);
    EXPECT_EQ(tiny.client.width, 700);
    EXPECT_EQ(tiny.client.height, 500);
}

TEST(WindowPlacementTest, ASecondScreenIsUsedWhereItIs) {
    const Rect right{1920, 0, 1280, 1024};
    const WindowPlacement placement = centredPlacement({800, 820}, {700, 500}, right, titleBar);
    EXPECT_GE(placement.client.x, 1920);
    expectWithin(placement, right, titleBar);
}

TEST(WindowPlacementTest, AWindowOnTheScreenStaysWhereTheUserPutIt) {
    const Rect screen{0, 0, 1920, 1080};
    const Rect put{100, 60, 900, 700};
    const WindowPlacement placement = placementOnScreen(put, {700, 500}, screen, titleBar);
    EXPECT_EQ(placement.client.x, put.x);
    EXPECT_EQ(placement.client.y, put.y);
    EXPECT_EQ(placement.client.width, put.width);
    EXPECT_EQ(placement.client.height, put.height);
}

TEST(WindowPlacementTest, AWindowPartlyOffTheScreenMovesBackTheLeastDistance) {
    const Rect screen{0, 0, 1366, 768};
    // Above the top edge, as an estimated frame would leave it, and past the right edge.
    const WindowPlacement placement = placementOnScreen({900, -12, 800, 700}, {700, 500}, screen, titleBar);
    EXPECT_EQ(placement.client.y, 20);
    EXPECT_EQ(placement.client.x, 1366 - 1 - 800);
    EXPECT_EQ(placement.client.height, 700);
    expectWithin(placement, screen, titleBar);

    // Kept from a larger monitor: it shrinks as well as moving.
    const WindowPlacement shrunk = placementOnScreen({400, 300, 1000, 900}, {700, 500}, screen, titleBar);
    EXPECT_EQ(shrunk.client.height, 768 - 25);
    EXPECT_EQ(shrunk.client.width, 1000);
    expectWithin(shrunk, screen, titleBar);
}

} // namespace
} // namespace driftmark
