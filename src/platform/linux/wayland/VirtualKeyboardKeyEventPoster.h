#pragma once

#include "platform/KeyEventPoster.h"
#include "platform/linux/wayland/VirtualKeyboardModifiers.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace driftmark {

class SeatKeymap;

class VirtualKeyboard;
class VirtualKeyboardKeymap;
class WaylandConnection;

// Keystrokes through a virtual keyboard of Driftmark's own on a wlroots-based compositor, by physical key
// position. The keyboard is made when prepared, else at its first keystroke, and types with the user's
// keymap (the seat keyboard's, or the default one while the seat has none), so that every window,
// XWayland's too, reads the keys as the user's own. A keyboard made at a keystroke on a seat that had none
// may lose that keystroke: a window hears keys only from a keyboard the seat had when it took the focus.
// An event with flags carries exactly those modifiers: the compositor shows a window the modifiers of the
// keyboard that typed last, so the keys the user holds on another keyboard do not reach
// the chord, and modifier keys held on this one are set aside for it and restored after its key-up.
// Command stands for Control, the modifier of the Linux paste chord.
class VirtualKeyboardKeyEventPoster final : public KeyEventPoster {
public:
    // The connection and the seat's keymap must outlive the poster.
    VirtualKeyboardKeyEventPoster(WaylandConnection& connection, const SeatKeymap& seatKeymap);
    ~VirtualKeyboardKeyEventPoster() override;
    VirtualKeyboardKeyEventPoster(const VirtualKeyboardKeyEventPoster&) = delete;
    VirtualKeyboardKeyEventPoster& operator=(const VirtualKeyboardKeyEventPoster&) = delete;

    std::optional<KeyEvent> keyboardEvent(std::uint16_t virtualKey, bool keyDown) override;
    bool post(const KeyEvent& event) override;
    // Puts the keyboard, with its keymap, on the seat now.
    void prepare() override;

private:
    bool ready();
    void refreshKeymap();
    void press(std::uint32_t evdevCode, bool down);
    void sendModifiers(const ModifierState& state);

    WaylandConnection& connection_;
    const SeatKeymap& seatKeymap_;
    std::unique_ptr<VirtualKeyboard> keyboard_;
    std::unique_ptr<VirtualKeyboardKeymap> keymap_;
    // The seat's keymap text that the keyboard's keymap was chosen for.
    std::string keymapChosenFor_;
    // Keys this keyboard holds down, as evdev codes.
    std::vector<std::uint32_t> down_;
    // The modifier state last sent since the keymap was handed over.
    std::optional<ModifierState> sent_;
};

} // namespace driftmark
