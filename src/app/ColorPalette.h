#pragma once

#include "platform/Color.h"

#include <array>
#include <string_view>

namespace driftmark {

// The ten icon colours the settings offer, in the order they are shown.
struct PaletteColor {
    std::string_view name;
    Color color;
};

const std::array<PaletteColor, 10>& colorOptions();

// Whether a swatch shows as chosen for the colour: red, green and blue each within 0.01; alpha is not
// compared. A colour with a component that is not a number matches nothing.
bool isColorSelected(const Color& color, const Color& paletteColor);

} // namespace driftmark
