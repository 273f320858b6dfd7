#pragma once

#include "platform/StatusBar.h"
#include "platform/linux/sni/StatusNotifierTypes.h"

#include <QByteArray>
#include <QImage>

namespace driftmark {

// The pixels of an image as a StatusNotifierItem host reads them: unpremultiplied ARGB32, each pixel's
// four bytes in network byte order (alpha first), row after row.
QByteArray networkOrderArgb(const QImage& image);

// A disc at the sizes panels commonly ask for, so that hosts pick one instead of scaling.
StatusNotifierPixmaps statusNotifierPixmaps(const DiscIcon& icon, double opacity);

} // namespace driftmark
