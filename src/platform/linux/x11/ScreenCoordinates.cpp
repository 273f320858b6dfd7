#include "platform/linux/x11/ScreenCoordinates.h"

#include <QGuiApplication>
#include <QRectF>
#include <QScreen>

namespace driftmark {

QPoint toLogicalPoint(Point native) {
    const QPointF point(native.x, native.y);
    for (const QScreen* screen : QGuiApplication::screens()) {
        const qreal ratio = screen->devicePixelRatio();
        const QRectF logical = screen->geometry();
        const QRectF nativeGeometry(logical.topLeft(), logical.size() * ratio);
        if (nativeGeometry.contains(point)) {
            return (logical.topLeft() + (point - logical.topLeft()) / ratio).toPoint();
        }
    }
    const qreal ratio = qGuiApp->devicePixelRatio();
    return (point / ratio).toPoint();
}

QRect toLogicalRect(Rect native) {
    const QPoint topLeft = toLogicalPoint({native.x, native.y});
    const QPoint bottomRight = toLogicalPoint({native.x + native.width, native.y + native.height});
    return {topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y())};
}

} // namespace driftmark
