#include "platform/linux/sni/StatusNotifierIcon.h"

#include "platform/linux/tray/DiscRenderer.h"

#include <array>

namespace driftmark {

namespace {

constexpr std::array<int, 4> pixmapSizes = {16, 22, 32, 48};

} // namespace

QByteArray networkOrderArgb(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(argb.width()) * argb.height() * 4);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb pixel = line[x];
            bytes.append(static_cast<char>(qAlpha(pixel)));
            bytes.append(static_cast<char>(qRed(pixel)));
            bytes.append(static_cast<char>(qGreen(pixel)));
            bytes.append(static_cast<char>(qBlue(pixel)));
        }
    }
    return bytes;
}

StatusNotifierPixmaps statusNotifierPixmaps(const DiscIcon& icon, double opacity) {
    StatusNotifierPixmaps pixmaps;
    for (const int size : pixmapSizes) {
        const QImage image = renderDisc(icon, QSize(size, size), opacity, QImage());
        pixmaps.append(StatusNotifierPixmap{size, size, networkOrderArgb(image)});
    }
    return pixmaps;
}

} // namespace driftmark
