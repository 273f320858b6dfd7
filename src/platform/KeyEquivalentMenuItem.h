#pragma once

#include <cstdint>
#include <string>

namespace driftmark {

// A menu entry that shows a keyboard shortcut beside its title.
class KeyEquivalentMenuItem {
public:
    virtual ~KeyEquivalentMenuItem() = default;
    // Shows the key and modifier flags (Shift 0x20000, Control 0x40000, Option 0x80000, Command 0x100000,
    // Function 0x800000). The key is the character the layout types without modifiers, a symbol such as
    // "↩" or "⇥" for keys that type none, " " for the space bar, or a private-use character from U+F704
    // (F1) to U+F717 (F20) for function keys. An empty key shows no shortcut.
    virtual void setKeyEquivalent(const std::string& key, std::uint64_t modifierFlags) = 0;
};

} // namespace driftmark
