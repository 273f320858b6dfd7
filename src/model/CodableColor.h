#pragma once

#include "platform/Color.h"

namespace driftmark {

// An entry's icon colour in the form it is stored: four plain components, compared exactly.
struct CodableColor {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 0;

    // Platform colours are already device RGB here, so the components are taken over as they are.
    static constexpr CodableColor fromPlatformColor(const Color& color) {
        return CodableColor{color.red, color.green, color.blue, color.alpha};
    }
    constexpr Color toPlatformColor() const { return Color{red, green, blue, alpha}; }

    friend constexpr bool operator==(const CodableColor&, const CodableColor&) = default;
};

} // namespace driftmark
