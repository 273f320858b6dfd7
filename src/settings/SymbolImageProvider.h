#pragma once

#include <QQuickImageProvider>

namespace driftmark {

// "image://symbol/NAME/RRGGBB": the symbol NAME (such as "gear") in one colour, at the size asked for.
class SymbolImageProvider final : public QQuickImageProvider {
public:
    SymbolImageProvider();
    QImage requestImage(const QString& id, QSize* size, const QSize& requestedSize) override;
};

} // namespace driftmark
