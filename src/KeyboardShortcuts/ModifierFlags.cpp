#include "KeyboardShortcuts/ModifierFlags.h"

#include <array>
#include <string_view>

namespace driftmark::KeyboardShortcuts {

namespace {

struct Modifier {
    ModifierFlags flag;
    std::int64_t carbonBit;
    std::string_view symbol;
};

// In the order their symbols are shown.
constexpr std::array<Modifier, 5> modifiers{{
    {ModifierFlags::control, CarbonModifier::control, "⌃"},
    {ModifierFlags::option, CarbonModifier::option, "⌥"},
    {ModifierFlags::shift, CarbonModifier::shift, "⇧"},
    {ModifierFlags::command, CarbonModifier::command, "⌘"},
    // The text variation selector keeps the globe from being drawn as a colour emoji.
    {ModifierFlags::function, CarbonModifier::function, "🌐\uFE0E"},
}};

} // namespace

std::int64_t carbon(ModifierFlags flags) {
    std::int64_t bits = 0;
    for (const Modifier& modifier : modifiers) {
        if (flags.contains(modifier.flag)) {
            bits |= modifier.carbonBit;
        }
    }
    return bits;
}

ModifierFlags modifierFlags(std::int64_t carbonModifiers) {
    ModifierFlags flags;
    for (const Modifier& modifier : modifiers) {
        if ((carbonModifiers & modifier.carbonBit) != 0) {
            flags = flags | modifier.flag;
        }
    }
    return flags;
}

std::int64_t normalizedCarbonModifiers(std::int64_t carbonModifiers) {
    return carbon(modifierFlags(carbonModifiers));
}

std::string presentableDescription(ModifierFlags flags) {
    std::string text;
    for (const Modifier& modifier : modifiers) {
        if (flags.contains(modifier.flag)) {
            text += modifier.symbol;
        }
    }
    return text;
}

} // namespace driftmark::KeyboardShortcuts
