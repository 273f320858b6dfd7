#include "platform/linux/x11/XTestKeyEventPoster.h"

#include "platform/linux/keys/KeyPositions.h"
#include "platform/linux/keys/ModifierKeys.h"
#include "platform/linux/x11/X11Connection.h"

#include <algorithm>
#include <iterator>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

namespace driftmark {

namespace {

// Virtual key codes of the left modifier keys, used when the modifier map binds no key.
constexpr int shiftKey = 56;
constexpr int controlKey = 59;
constexpr int optionKey = 58;

std::optional<std::uint8_t> orPosition(std::optional<std::uint8_t> key, int virtualKey) {
    return key ? key : xKeyCodeForVirtualKey(virtualKey);
}

std::vector<std::uint8_t> modifierKeysFor(std::uint64_t flags, const ModifierKeys& keys) {
    std::vector<std::uint8_t> wanted;
    const auto add = [&](std::optional<std::uint8_t> key) {
        if (key && std::find(wanted.begin(), wanted.end(), *key) == wanted.end()) {
            wanted.push_back(*key);
        }
    };
    if ((flags & (keyEventFlagCommand | keyEventFlagControl)) != 0) {
        add(orPosition(keys.control, controlKey));
    }
    if ((flags & keyEventFlagShift) != 0) {
        add(orPosition(keys.shift, shiftKey));
    }
    if ((flags & keyEventFlagOption) != 0) {
        add(orPosition(keys.alt, optionKey));
    }
    return wanted;
}

std::vector<std::uint8_t> without(const std::vector<std::uint8_t>& keys,
                                  const std::vector<std::uint8_t>& others) {
    std::vector<std::uint8_t> rest;
    std::copy_if(keys.begin(), keys.end(), std::back_inserter(rest), [&](std::uint8_t key) {
        return std::find(others.begin(), others.end(), key) == others.end();
    });
    return rest;
}

} // namespace

XTestKeyEventPoster::XTestKeyEventPoster()
    : connection_(qtX11Connection()) {}

std::optional<KeyEvent> XTestKeyEventPoster::keyboardEvent(std::uint16_t virtualKey, bool keyDown) {
    if (!offersXTest(connection_) || !xKeyCodeForVirtualKey(virtualKey)) {
        return std::nullopt;
    }
    return KeyEvent{virtualKey, keyDown, std::nullopt};
}

bool XTestKeyEventPoster::post(const KeyEvent& event) {
    const auto key = xKeyCodeForVirtualKey(event.virtualKey);
    if (!key || !offersXTest(connection_)) {
        return false;
    }
    if (!event.flags) {
        fake(event.keyDown, *key);
    } else if (event.keyDown) {
        pressChord(*key, *event.flags);
    } else {
        releaseChord(*key);
    }
    return xcb_flush(connection_) > 0;
}

void XTestKeyEventPoster::pressChord(std::uint8_t key, std::uint64_t flags) {
    const ModifierKeys modifiers = ModifierKeys::query(connection_);
    const std::vector<std::uint8_t> wanted = modifierKeysFor(flags, modifiers);
    // A wanted modifier that the user already holds stays down rather than bouncing.
    Chord chord{without(modifiers.held, wanted), without(wanted, modifiers.held)};
    for (const std::uint8_t modifier : chord.released) {
        fake(false, modifier);
    }
    for (const std::uint8_t modifier : chord.pressed) {
        fake(true, modifier);
    }
    fake(true, key);
    chord_ = std::move(chord);
}

void XTestKeyEventPoster::releaseChord(std::uint8_t key) {
    fake(false, key);
    if (!chord_) {
        return;
    }
    for (auto modifier = chord_->pressed.rbegin(); modifier != chord_->pressed.rend(); ++modifier) {
        fake(false, *modifier);
    }
    for (const std::uint8_t modifier : chord_->released) {
        fake(true, modifier);
    }
    chord_.reset();
}

void XTestKeyEventPoster::fake(bool press, std::uint8_t key) const {
    xcb_test_fake_input(connection_, press ? XCB_KEY_PRESS : XCB_KEY_RELEASE, key, XCB_CURRENT_TIME, XCB_NONE,
                        0, 0, 0);
}

} // namespace driftmark
