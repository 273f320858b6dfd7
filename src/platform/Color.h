#pragma once

namespace driftmark {

// The platform colour: RGBA components between 0 and 1 in the sRGB space. The named system colours are
// fixed at the light-appearance values of the macOS palette, so an entry's disc keeps the colour it had
// there.
struct Color {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;

    static constexpr Color fromBytes(int red, int green, int blue) {
        return Color{red / 255.0, green / 255.0, blue / 255.0, 1.0};
    }

    static constexpr Color systemBlue() { return fromBytes(0, 122, 255); }
    static constexpr Color systemGreen() { return fromBytes(40, 205, 65); }
    static constexpr Color systemRed() { return fromBytes(255, 59, 48); }
    static constexpr Color systemOrange() { return fromBytes(255, 149, 0); }
    static constexpr Color systemPurple() { return fromBytes(175, 82, 222); }
    static constexpr Color systemPink() { return fromBytes(255, 45, 85); }
    static constexpr Color systemTeal() { return fromBytes(89, 173, 196); }
    static constexpr Color systemYellow() { return fromBytes(255, 204, 0); }
    static constexpr Color systemGray() { return fromBytes(142, 142, 147); }
    static constexpr Color systemIndigo() { return fromBytes(88, 86, 214); }

    friend constexpr bool operator==(const Color&, const Color&) = default;
};

} // namespace driftmark
