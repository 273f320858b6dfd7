#pragma once

#include "platform/Color.h"

#include <QColor>

namespace driftmark {

// Colours cross into the views as QColor, which keeps 16 bits a component: close enough for a swatch,
// not for storage, so stored components are kept whenever the view hands back the colour it was given.
inline QColor toQColor(const Color& color) {
    return QColor::fromRgbF(static_cast<float>(color.red), static_cast<float>(color.green),
                            static_cast<float>(color.blue), static_cast<float>(color.alpha));
}

inline Color fromQColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return Color{rgb.redF(), rgb.greenF(), rgb.blueF(), rgb.alphaF()};
}

} // namespace driftmark
