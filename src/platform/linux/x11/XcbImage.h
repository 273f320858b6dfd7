#pragma once

#include <QImage>
#include <QSize>
#include <xcb/xcb.h>

namespace driftmark {

// Copies a 32-bit image into the window's top-left corner, for windows of depth 24 or 32.
void putWindowImage(xcb_connection_t* connection, xcb_window_t window, std::uint8_t depth,
                    const QImage& image);

// What the window shows now, as 32-bit RGB; a null image when it cannot be read (for example while
// it is not viewable).
QImage windowImage(xcb_connection_t* connection, xcb_window_t window, QSize size);

} // namespace driftmark
