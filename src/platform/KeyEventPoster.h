#pragma once

#include <cstdint>
#include <optional>

namespace driftmark {

// Modifier flags of key events, in the platform-neutral bits the logic uses for synthesised keystrokes
// and for the modifiers of shortcuts alike (they are stored in the preferences).
enum KeyEventFlags : std::uint64_t {
    keyEventFlagCapsLock = 0x10000,
    keyEventFlagShift = 0x20000,
    keyEventFlagControl = 0x40000,
    keyEventFlagOption = 0x80000,
    keyEventFlagCommand = 0x100000,
    keyEventFlagFunction = 0x800000,
};

// A keyboard event for a physical key position (a virtual key code such as 9 for V, 36 for Return).
struct KeyEvent {
    std::uint16_t virtualKey = 0;
    bool keyDown = true;
    // When set, the event carries exactly these modifiers and no others.
    std::optional<std::uint64_t> flags;
};

// Synthesises keyboard input into whichever window has the focus, as if typed.
class KeyEventPoster {
public:
    virtual ~KeyEventPoster() = default;
    // Absent when no such event can be made (for example, the display cannot synthesise input).
    virtual std::optional<KeyEvent> keyboardEvent(std::uint16_t virtualKey, bool keyDown) = 0;
    // False when the event could not be typed.
    virtual bool post(const KeyEvent& event) = 0;
    // Makes ready beforehand what typing needs where it cannot be made at the moment of the first
    // keystroke (a keyboard the desktop has to announce to its windows first); nothing elsewhere.
    virtual void prepare() = 0;
};

} // namespace driftmark
