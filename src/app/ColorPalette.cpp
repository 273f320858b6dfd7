#include "app/ColorPalette.h"

#include <cmath>

namespace driftmark {

const std::array<PaletteColor, 10>& colorOptions() {
    static constexpr std::array<PaletteColor, 10> palette{{
        {"Blue", Color::systemBlue()},
        {"Green", Color::systemGreen()},
        {"Red", Color::systemRed()},
        {"Orange", Color::systemOrange()},
        {"Purple", Color::systemPurple()},
        {"Pink", Color::systemPink()},
        {"Teal", Color::systemTeal()},
        {"Yellow", Color::systemYellow()},
        {"Gray", Color::systemGray()},
        {"Indigo", Color::systemIndigo()},
    }};
    return palette;
}

bool isColorSelected(const Color& color, const Color& paletteColor) {
    constexpr double tolerance = 0.01;
    // A NaN difference is never below the tolerance, so an unreadable colour matches no swatch.
    return std::abs(color.red - paletteColor.red) < tolerance &&
           std::abs(color.green - paletteColor.green) < tolerance &&
           std::abs(color.blue - paletteColor.blue) < tolerance;
}

} // namespace driftmark
