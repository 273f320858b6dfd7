#include "platform/linux/keys/XkbKeyCaps.h"

#include "platform/linux/keys/KeyPositions.h"

#include <array>
#include <memory>
#include <xkbcommon/xkbcommon.h>

namespace driftmark::xkbKeyCaps {

namespace {

struct StateRelease {
    void operator()(xkb_state* state) const { xkb_state_unref(state); }
};
using State = std::unique_ptr<xkb_state, StateRelease>;

// The key that tells an ASCII-capable layout: it types "a" on QWERTY, AZERTY, Dvorak and their kin.
constexpr xkb_keycode_t aKey = KEY_A + evdevToXKeyCodeOffset;

} // namespace

std::optional<std::uint32_t> asciiCapableLayout(xkb_keymap* keymap, std::uint32_t active) {
    const xkb_layout_index_t count = xkb_keymap_num_layouts(keymap);
    const auto typesLatinA = [&](xkb_layout_index_t layout) {
        const xkb_keysym_t* symbols = nullptr;
        return xkb_keymap_key_get_syms_by_level(keymap, aKey, layout, 0, &symbols) > 0 &&
               symbols[0] >= XKB_KEY_a && symbols[0] <= XKB_KEY_z;
    };
    if (active < count && typesLatinA(active)) {
        return active;
    }
    for (xkb_layout_index_t layout = 0; layout < count; ++layout) {
        if (typesLatinA(layout)) {
            return layout;
        }
    }
    return std::nullopt;
}

std::optional<std::string> keyCapText(xkb_keymap* keymap, std::uint32_t layout, std::uint32_t xKeyCode) {
    const xkb_keysym_t* symbols = nullptr;
    if (xkb_keymap_key_get_syms_by_level(keymap, xKeyCode, layout, 0, &symbols) <= 0) {
        return std::nullopt;
    }
    // A fresh state holds no modifier; the layout is made the locked one.
    const State state(xkb_state_new(keymap));
    if (!state) {
        return std::nullopt;
    }
    xkb_state_update_mask(state.get(), 0, 0, 0, 0, 0, layout);
    std::array<char, 64> text{};
    const int length = xkb_state_key_get_utf8(state.get(), xKeyCode, text.data(), text.size());
    if (length < 0 || static_cast<std::size_t>(length) >= text.size()) {
        return std::nullopt;
    }
    return std::string(text.data(), static_cast<std::size_t>(length));
}

std::optional<std::string> keyCapTextForVirtualKey(xkb_keymap* keymap, std::uint32_t active,
                                                   std::uint16_t virtualKey) {
    const auto xKeyCode = xKeyCodeForVirtualKey(virtualKey);
    const auto layout = xKeyCode && keymap != nullptr ? asciiCapableLayout(keymap, active) : std::nullopt;
    return layout ? keyCapText(keymap, *layout, *xKeyCode) : std::nullopt;
}

} // namespace driftmark::xkbKeyCaps
