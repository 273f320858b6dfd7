#include "platform/linux/wayland/FakeInputKeyEventPoster.h"

#include "fake-input-client-protocol.h"
#include "platform/linux/keys/ChordModifiers.h"
#include "platform/linux/keys/KeyPositions.h"
#include "platform/linux/wayland/WaylandConnection.h"

#include <algorithm>
#include <ranges>
#include <wayland-client.h>

namespace driftmark {

namespace {

// The left-hand keys of a chord's modifiers, in the order a hand presses them.
std::vector<std::uint32_t> modifierKeys(std::uint64_t flags) {
    const ChordModifiers held = chordModifiers(flags);
    std::vector<std::uint32_t> keys;
    if (held.control) {
        keys.push_back(KEY_LEFTCTRL);
    }
    if (held.shift) {
        keys.push_back(KEY_LEFTSHIFT);
    }
    if (held.alt) {
        keys.push_back(KEY_LEFTALT);
    }
    return keys;
}

} // namespace

FakeInputKeyEventPoster::FakeInputKeyEventPoster(WaylandConnection& connection)
    : connection_(connection) {}

FakeInputKeyEventPoster::~FakeInputKeyEventPoster() {
    // A key left down would repeat in the focused window, and a modifier would stay held for the user.
    if (connection_.fakeInput() != nullptr && !connection_.lost() && !down_.empty()) {
        for (const std::uint32_t code : std::ranges::reverse_view(down_)) {
            org_kde_kwin_fake_input_keyboard_key(connection_.fakeInput(), code,
                                                 WL_KEYBOARD_KEY_STATE_RELEASED);
        }
        connection_.flush();
    }
}

std::optional<KeyEvent> FakeInputKeyEventPoster::keyboardEvent(std::uint16_t virtualKey, bool keyDown) {
    if (!evdevCodeForVirtualKey(virtualKey) || !ready()) {
        return std::nullopt;
    }
    return KeyEvent{virtualKey, keyDown, std::nullopt};
}

bool FakeInputKeyEventPoster::post(const KeyEvent& event) {
    const auto code = evdevCodeForVirtualKey(event.virtualKey);
    if (!code || !ready()) {
        return false;
    }
    if (!event.flags) {
        press(*code, event.keyDown);
    } else if (event.keyDown) {
        // A modifier key already down stays as it is, and is not let go after the chord.
        for (const std::uint32_t modifier : modifierKeys(*event.flags)) {
            if (std::ranges::find(down_, modifier) == down_.end()) {
                press(modifier, true);
                chordModifiers_.push_back(modifier);
            }
        }
        press(*code, true);
    } else {
        press(*code, false);
        while (!chordModifiers_.empty()) {
            press(chordModifiers_.back(), false);
            chordModifiers_.pop_back();
        }
    }
    // A connection lost on the way took the keys with it.
    connection_.flush();
    return !connection_.lost();
}

// KWin ignores the keys of a client that has not said who it is and why it types.
bool FakeInputKeyEventPoster::ready() {
    if (connection_.lost() || connection_.fakeInput() == nullptr) {
        return false;
    }
    if (!authenticated_) {
        org_kde_kwin_fake_input_authenticate(
            connection_.fakeInput(), "Driftmark",
            "Smart Paste types the paste shortcut into the window you were working in");
        authenticated_ = true;
    }
    return true;
}

void FakeInputKeyEventPoster::press(std::uint32_t evdevCode, bool down) {
    if (down == (std::ranges::find(down_, evdevCode) != down_.end())) {
        return;
    }
    org_kde_kwin_fake_input_keyboard_key(connection_.fakeInput(), evdevCode,
                                         down ? WL_KEYBOARD_KEY_STATE_PRESSED
                                              : WL_KEYBOARD_KEY_STATE_RELEASED);
    if (down) {
        down_.push_back(evdevCode);
    } else {
        std::erase(down_, evdevCode);
    }
}

} // namespace driftmark
