#pragma once

#include "platform/Geometry.h"

#include <QPoint>
#include <QRect>

namespace driftmark {

// X11 reports positions in device pixels; Qt places its windows in device-independent pixels, scaled
// per screen around the screen's top-left corner.
QPoint toLogicalPoint(Point native);
QRect toLogicalRect(Rect native);

} // namespace driftmark
