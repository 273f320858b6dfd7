#pragma once

#include "KeyboardShortcuts/Key.h"
#include "KeyboardShortcuts/ModifierFlags.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

namespace driftmark {
struct LocalEvent;
}

namespace driftmark::KeyboardShortcuts {

// One key plus modifiers, in the numbers a hot-key registration takes: a virtual key code and hot-key
// modifier bits. Built values hold only the five known modifier bits; decoded values hold what was stored.
struct Shortcut {
    std::int64_t carbonKeyCode = 0;
    std::int64_t carbonModifiers = 0;

    Shortcut(std::int64_t keyCode, std::int64_t modifiers);
    Shortcut(Key key, ModifierFlags modifiers);
    // The numbers as they are, for values read back from storage.
    static Shortcut asStored(std::int64_t keyCode, std::int64_t modifiers);
    // Only key-down and key-up events make a shortcut. Fn is dropped: a shortcut made from a keystroke
    // never carries it.
    static std::optional<Shortcut> fromEvent(const LocalEvent& event);

    Key key() const { return Key{carbonKeyCode}; }
    ModifierFlags modifiers() const { return modifierFlags(carbonModifiers); }

    friend bool operator==(const Shortcut&, const Shortcut&) = default;

private:
    struct Unchanged {};
    Shortcut(Unchanged, std::int64_t keyCode, std::int64_t modifiers);
};

} // namespace driftmark::KeyboardShortcuts

template <>
struct std::hash<driftmark::KeyboardShortcuts::Shortcut> {
    std::size_t operator()(const driftmark::KeyboardShortcuts::Shortcut& shortcut) const noexcept;
};
