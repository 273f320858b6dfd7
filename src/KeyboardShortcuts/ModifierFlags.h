#pragma once

#include "platform/HotKeyService.h"
#include "platform/KeyEventPoster.h"

#include <cstdint>
#include <string>

namespace driftmark::KeyboardShortcuts {

// Modifier keys as the platform's event flags name them. Hot-key registrations use other bits (the
// "carbon" form below); converting there and back keeps only the five modifiers a shortcut can hold.
struct ModifierFlags {
    std::uint64_t rawValue = 0;

    static const ModifierFlags capsLock, shift, control, option, command, function;

    constexpr bool contains(ModifierFlags other) const {
        return (rawValue & other.rawValue) == other.rawValue;
    }
    constexpr bool empty() const { return rawValue == 0; }
    constexpr ModifierFlags without(ModifierFlags other) const { return {rawValue & ~other.rawValue}; }

    friend constexpr ModifierFlags operator|(ModifierFlags left, ModifierFlags right) {
        return {left.rawValue | right.rawValue};
    }
    friend constexpr ModifierFlags operator&(ModifierFlags left, ModifierFlags right) {
        return {left.rawValue & right.rawValue};
    }
    friend constexpr bool operator==(ModifierFlags, ModifierFlags) = default;
};

inline constexpr ModifierFlags ModifierFlags::capsLock{keyEventFlagCapsLock};
inline constexpr ModifierFlags ModifierFlags::shift{keyEventFlagShift};
inline constexpr ModifierFlags ModifierFlags::control{keyEventFlagControl};
inline constexpr ModifierFlags ModifierFlags::option{keyEventFlagOption};
inline constexpr ModifierFlags ModifierFlags::command{keyEventFlagCommand};
inline constexpr ModifierFlags ModifierFlags::function{keyEventFlagFunction};

// Hot-key modifier bits.
namespace CarbonModifier {
inline constexpr std::int64_t command = hotKeyModifierCommand;
inline constexpr std::int64_t shift = hotKeyModifierShift;
inline constexpr std::int64_t capsLock = hotKeyModifierCapsLock;
inline constexpr std::int64_t option = hotKeyModifierOption;
inline constexpr std::int64_t control = hotKeyModifierControl;
inline constexpr std::int64_t function = hotKeyModifierFunction;
} // namespace CarbonModifier

// The hot-key bits of the five shortcut modifiers in the flags; every other flag is dropped.
std::int64_t carbon(ModifierFlags flags);
// The flags of the five shortcut modifier bits; every other bit is ignored.
ModifierFlags modifierFlags(std::int64_t carbonModifiers);
// The value with every bit that is not one of the five shortcut modifiers removed.
std::int64_t normalizedCarbonModifiers(std::int64_t carbonModifiers);

// "⌃", "⌥", "⇧", "⌘", "🌐︎" for the modifiers present, always in that order.
std::string presentableDescription(ModifierFlags flags);

} // namespace driftmark::KeyboardShortcuts
