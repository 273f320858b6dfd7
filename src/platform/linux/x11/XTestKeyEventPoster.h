#pragma once

#include "platform/KeyEventPoster.h"

#include <vector>

struct xcb_connection_t;

namespace driftmark {

// Keystrokes through XTest on Qt's X connection, by physical key position. An event with flags carries
// exactly those modifiers: modifier keys that the user still holds are released around it and pressed
// again after its key-up, so that the target sees, for example, a clean Ctrl+V. Command stands for
// Control, the modifier of the Linux paste chord.
class XTestKeyEventPoster final : public KeyEventPoster {
public:
    XTestKeyEventPoster();

    std::optional<KeyEvent> keyboardEvent(std::uint16_t virtualKey, bool keyDown) override;
    bool post(const KeyEvent& event) override;
    // The X server's test keyboard is there from the start.
    void prepare() override {}

private:
    // The modifier changes made for a key-down, undone at its key-up.
    struct Chord {
        std::vector<std::uint8_t> released;
        std::vector<std::uint8_t> pressed;
    };

    void pressChord(std::uint8_t key, std::uint64_t flags);
    void releaseChord(std::uint8_t key);
    void fake(bool press, std::uint8_t key) const;

    xcb_connection_t* connection_;
    std::optional<Chord> chord_;
};

} // namespace driftmark
