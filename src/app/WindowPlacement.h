#pragma once

#include "platform/Geometry.h"

namespace driftmark {

// What the window manager draws around a window, on each side.
struct FrameMargins {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
};

// A window's size and place on a screen, and the smallest size it may then be given.
struct WindowPlacement {
    Rect client;
    Size minimumSize;
};

// A window of the wanted size, centred in the screen's free area (without panels). The wanted size and
// minimum are wishes: on a screen too small for them they shrink to what fits, so that the whole
// window, its frame included, is always on the screen.
WindowPlacement centredPlacement(Size wanted, Size minimum, Rect available, FrameMargins frame);

// The window where it is, unless some of it is off the screen: then it shrinks to what fits and moves
// the least distance that brings it back in.
WindowPlacement placementOnScreen(Rect client, Size minimum, Rect available, FrameMargins frame);

} // namespace driftmark
