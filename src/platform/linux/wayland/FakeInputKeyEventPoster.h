#pragma once

#include "platform/KeyEventPoster.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace driftmark {

class WaylandConnection;

// Keystrokes through KWin's fake input, by physical key position, where KWin offers no virtual keyboards.
// KWin types the keys on its own keyboard with the user's layout, so the focused window reads them as the
// user's own. An event with flags carries those modifiers by pressing their keys around it, released
// after its key-up; Command stands for Control, the modifier of the Linux paste chord. Unlike a virtual
// keyboard's, these keys share KWin's one modifier state, so modifiers the user holds meanwhile join in.
class FakeInputKeyEventPoster final : public KeyEventPoster {
public:
    // The connection must outlive the poster.
    explicit FakeInputKeyEventPoster(WaylandConnection& connection);
    ~FakeInputKeyEventPoster() override;
    FakeInputKeyEventPoster(const FakeInputKeyEventPoster&) = delete;
    FakeInputKeyEventPoster& operator=(const FakeInputKeyEventPoster&) = delete;

    std::optional<KeyEvent> keyboardEvent(std::uint16_t virtualKey, bool keyDown) override;
    bool post(const KeyEvent& event) override;
    // KWin types on a keyboard of its own, which its windows know before any key comes.
    void prepare() override {}

private:
    bool ready();
    void press(std::uint32_t evdevCode, bool down);

    WaylandConnection& connection_;
    bool authenticated_ = false;
    // Keys held down, as evdev codes.
    std::vector<std::uint32_t> down_;
    // The modifier keys pressed for chords whose keys are still down, in the order they went down.
    std::vector<std::uint32_t> chordModifiers_;
};

} // namespace driftmark
