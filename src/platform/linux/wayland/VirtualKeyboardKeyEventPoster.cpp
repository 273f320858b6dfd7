#include "platform/linux/wayland/VirtualKeyboardKeyEventPoster.h"

#include "platform/linux/keys/KeyPositions.h"
#include "platform/linux/wayland/SeatKeymap.h"
#include "platform/linux/wayland/VirtualKeyboard.h"
#include "platform/linux/wayland/VirtualKeyboardKeymap.h"
#include "platform/linux/wayland/WaylandConnection.h"

#include <algorithm>

namespace driftmark {

VirtualKeyboardKeyEventPoster::VirtualKeyboardKeyEventPoster(WaylandConnection& connection,
                                                             const SeatKeymap& seatKeymap)
    : connection_(connection)
    , seatKeymap_(seatKeymap) {}

VirtualKeyboardKeyEventPoster::~VirtualKeyboardKeyEventPoster() {
    // A key left down would repeat in the focused window once its keyboard has gone.
    if (keyboard_ && !connection_.lost()) {
        for (const std::uint32_t code : down_) {
            keyboard_->key(code, false);
        }
    }
}

std::optional<KeyEvent> VirtualKeyboardKeyEventPoster::keyboardEvent(std::uint16_t virtualKey, bool keyDown) {
    if (!evdevCodeForVirtualKey(virtualKey) || !ready()) {
        return std::nullopt;
    }
    return KeyEvent{virtualKey, keyDown, std::nullopt};
}

bool VirtualKeyboardKeyEventPoster::post(const KeyEvent& event) {
    const auto code = evdevCodeForVirtualKey(event.virtualKey);
    if (!code || !ready()) {
        return false;
    }
    if (!event.flags) {
        press(*code, event.keyDown);
        sendModifiers(keymap_->state());
    } else if (event.keyDown) {
        sendModifiers(chordModifierState(keymap_->state(), *event.flags, keymap_->masks()));
        keyboard_->key(*code, true);
        down_.push_back(*code);
    } else {
        // The chord's key-up still carries its modifiers; the held ones come back after it.
        keyboard_->key(*code, false);
        std::erase(down_, *code);
        sendModifiers(keymap_->state());
    }
    // A connection lost on the way took the keys with it.
    connection_.flush();
    return !connection_.lost();
}

// Called whenever an entry may need it: the keyboard is made once, its keymap chosen again at the next
// keystroke.
void VirtualKeyboardKeyEventPoster::prepare() {
    if (!keyboard_ && ready()) {
        connection_.flush();
    }
}

bool VirtualKeyboardKeyEventPoster::ready() {
    if (connection_.lost()) {
        return false;
    }
    if (!keyboard_) {
        keyboard_ = VirtualKeyboard::create(connection_);
        if (!keyboard_) {
            return false;
        }
    }
    // A keymap that changed under a key held down would have the key's release read with another one.
    if (down_.empty()) {
        refreshKeymap();
    }
    return keymap_ != nullptr;
}

// Once this keyboard has typed, the compositor gives every client its keymap as the seat's, this
// process too: that keymap comes back and is taken again, as it is the same layout.
void VirtualKeyboardKeyEventPoster::refreshKeymap() {
    const std::string& seatKeymap = seatKeymap_.text();
    if (keymap_ && seatKeymap == keymapChosenFor_) {
        return;
    }
    keymapChosenFor_ = seatKeymap;
    auto keymap = seatKeymap.empty() ? nullptr : VirtualKeyboardKeymap::fromText(seatKeymap);
    if (!keymap) {
        keymap = VirtualKeyboardKeymap::fromDefaults();
    }
    if (!keymap || !keyboard_->setKeymap(keymap->text())) {
        return;
    }
    keymap_ = std::move(keymap);
    // The compositor starts the new keymap with no modifiers.
    sent_ = ModifierState{};
}

void VirtualKeyboardKeyEventPoster::press(std::uint32_t evdevCode, bool down) {
    keyboard_->key(evdevCode, down);
    keymap_->update(evdevCode, down);
    if (down) {
        down_.push_back(evdevCode);
    } else {
        std::erase(down_, evdevCode);
    }
}

void VirtualKeyboardKeyEventPoster::sendModifiers(const ModifierState& state) {
    if (sent_ != state) {
        keyboard_->modifiers(state);
        sent_ = state;
    }
}

} // namespace driftmark
