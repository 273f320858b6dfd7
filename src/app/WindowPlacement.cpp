#include "app/WindowPlacement.h"

#include <algorithm>

namespace driftmark {

namespace {

// The largest client area whose frame still fits the free area. Never below one pixel: a screen
// smaller than the frame alone still gets a window.
Size roomFor(Rect available, FrameMargins frame) {
    return {std::max(1.0, available.width - frame.left - frame.right),
            std::max(1.0, available.height - frame.top - frame.bottom)};
}

Size boundedTo(Size size, Size bound) {
    return {std::min(size.width, bound.width), std::min(size.height, bound.height)};
}

Size expandedTo(Size size, Size bound) {
    return {std::max(size.width, bound.width), std::max(size.height, bound.height)};
}

// Moves a client area of the given size so that its frame lies inside the free area, starting from
// the preferred corner.
Point inside(Point preferred, Size size, Rect available, FrameMargins frame) {
    const double minX = available.x + frame.left;
    const double minY = available.y + frame.top;
    const double maxX = available.x + available.width - frame.right - size.width;
    const double maxY = available.y + available.height - frame.bottom - size.height;
    return {std::max(minX, std::min(preferred.x, maxX)), std::max(minY, std::min(preferred.y, maxY))};
}

} // namespace

WindowPlacement centredPlacement(Size wanted, Size minimum, Rect available, FrameMargins frame) {
    const Size room = roomFor(available, frame);
    const Size size = boundedTo(expandedTo(wanted, minimum), room);
    // The frame, not the client area, is centred: a title bar would otherwise push the bottom edge off.
    const double outerWidth = size.width + frame.left + frame.right;
    const double outerHeight = size.height + frame.top + frame.bottom;
    const Point centred{available.x + (available.width - outerWidth) / 2 + frame.left,
                        available.y + (available.height - outerHeight) / 2 + frame.top};
    const Point corner = inside(centred, size, available, frame);
    return {{corner.x, corner.y, size.width, size.height}, boundedTo(minimum, room)};
}

WindowPlacement placementOnScreen(Rect client, Size minimum, Rect available, FrameMargins frame) {
    const Size room = roomFor(available, frame);
    const Size size = boundedTo(expandedTo({client.width, client.height}, minimum), room);
    const Point corner = inside({client.x, client.y}, size, available, frame);
    return {{corner.x, corner.y, size.width, size.height}, boundedTo(minimum, room)};
}

} // namespace driftmark
