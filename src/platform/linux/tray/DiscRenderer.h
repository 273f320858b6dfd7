#pragma once

#include "platform/StatusBar.h"

#include <QImage>
#include <QSize>

namespace driftmark {

// Draws a status disc at the pixel size of its tray slot. With a null `background` the result is
// transparent around the disc (premultiplied ARGB); otherwise the disc is blended onto the background.
QImage renderDisc(const DiscIcon& icon, QSize pixels, double opacity, const QImage& background);

} // namespace driftmark
