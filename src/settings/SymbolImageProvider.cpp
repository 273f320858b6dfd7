#include "settings/SymbolImageProvider.h"

#include "platform/linux/tray/SymbolIcons.h"

#include <QPainter>

namespace driftmark {

SymbolImageProvider::SymbolImageProvider()
    : QQuickImageProvider(QQuickImageProvider::Image) {}

QImage SymbolImageProvider::requestImage(const QString& id, QSize* size, const QSize& requestedSize) {
    const qsizetype slash = id.lastIndexOf(QLatin1Char('/'));
    const QString name = slash < 0 ? id : id.left(slash);
    const QColor color = slash < 0 ? QColor(Qt::black) : QColor(QLatin1Char('#') + id.mid(slash + 1));
    const QSize wanted = requestedSize.isValid() && !requestedSize.isEmpty() ? requestedSize : QSize(16, 16);

    QImage image(wanted, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const QIcon icon = monochromeSymbolIcon(name.toStdString());
    QPainter painter(&image);
    icon.paint(&painter, image.rect());
    // Every symbol is drawn in one colour: the shape's coverage, filled with the colour asked for.
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color.isValid() ? color : QColor(Qt::black));
    painter.end();
    if (size != nullptr) {
        *size = image.size();
    }
    return image;
}

} // namespace driftmark
