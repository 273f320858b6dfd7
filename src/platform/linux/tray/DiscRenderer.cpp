#include "platform/linux/tray/DiscRenderer.h"

#include "platform/linux/tray/TrayLayout.h"

#include <QColor>
#include <QPainter>
#include <QPen>
#include <algorithm>

namespace driftmark {

namespace {

QColor toQColor(const Color& color) {
    const auto component = [](double value) { return static_cast<float>(std::clamp(value, 0.0, 1.0)); };
    return QColor::fromRgbF(component(color.red), component(color.green), component(color.blue),
                            component(color.alpha));
}

} // namespace

QImage renderDisc(const DiscIcon& icon, QSize pixels, double opacity, const QImage& background) {
    QImage image = background.isNull() ? QImage(pixels, QImage::Format_ARGB32_Premultiplied)
                                       : background.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (background.isNull()) {
        image.fill(Qt::transparent);
    }
    const IconPlacement placement = placeIcon(icon.size, pixels.width(), pixels.height());
    if (placement.side == 0) {
        return image;
    }
    // The disc is described in points; the painter's scale maps them onto the slot's device pixels.
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(placement.x, placement.y);
    painter.scale(placement.scale, placement.scale);
    painter.setOpacity(std::clamp(opacity, 0.0, 1.0));
    painter.setBrush(toQColor(icon.fill));
    painter.setPen(QPen(toQColor(icon.stroke), icon.lineWidth));
    const double diameter = icon.size - 2 * icon.inset;
    painter.drawEllipse(QRectF(icon.inset, icon.inset, diameter, diameter));
    return image;
}

} // namespace driftmark
