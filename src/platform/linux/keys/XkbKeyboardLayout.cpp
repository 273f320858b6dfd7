#include "platform/linux/keys/XkbKeyboardLayout.h"

#include "platform/linux/keys/KeyPositions.h"
#include "platform/linux/keys/X11KeyboardMappingWatcher.h"
#include "platform/linux/x11/X11Context.h"

#include <array>
#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

namespace driftmark {

namespace {

struct StateRelease {
    void operator()(xkb_state* state) const { xkb_state_unref(state); }
};
using State = std::unique_ptr<xkb_state, StateRelease>;

// The key that tells an ASCII-capable layout: it types "a" on QWERTY, AZERTY, Dvorak and their kin.
constexpr xkb_keycode_t aKey = KEY_A + evdevToXKeyCodeOffset;

} // namespace

void XkbKeyboardLayout::ContextRelease::operator()(xkb_context* context) const {
    xkb_context_unref(context);
}

void XkbKeyboardLayout::KeymapRelease::operator()(xkb_keymap* keymap) const {
    xkb_keymap_unref(keymap);
}

XkbKeyboardLayout::XkbKeyboardLayout(const X11Context& x11) {
    xcb_connection_t* connection = x11.connection();
    if (connection == nullptr ||
        xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                    XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr,
                                    nullptr) == 0) {
        return;
    }
    deviceId_ = xkb_x11_get_core_keyboard_device_id(connection);
    context_.reset(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    if (deviceId_ < 0 || !context_) {
        return;
    }
    connection_ = connection;
    mappingWatcher_ = std::make_unique<X11KeyboardMappingWatcher>(connection_, [this] { keymap_.reset(); });
}

XkbKeyboardLayout::~XkbKeyboardLayout() = default;

std::optional<std::string> XkbKeyboardLayout::keyCapText(std::uint16_t keyCode) const {
    const auto xKeyCode = xKeyCodeForVirtualKey(keyCode);
    xkb_keymap* const keymap = xKeyCode ? this->keymap() : nullptr;
    const auto layout = keymap != nullptr ? asciiCapableLayout(keymap) : std::nullopt;
    if (!layout) {
        return std::nullopt;
    }
    // A key without any symbol in the layout cannot be translated; one whose symbol types nothing, such
    // as a dead key, gives an empty text.
    const xkb_keysym_t* symbols = nullptr;
    if (xkb_keymap_key_get_syms_by_level(keymap, *xKeyCode, *layout, 0, &symbols) <= 0) {
        return std::nullopt;
    }
    // A fresh state holds no modifier; the layout is made the locked one.
    const State state(xkb_state_new(keymap));
    if (!state) {
        return std::nullopt;
    }
    xkb_state_update_mask(state.get(), 0, 0, 0, 0, 0, *layout);
    std::array<char, 64> text{};
    const int length = xkb_state_key_get_utf8(state.get(), *xKeyCode, text.data(), text.size());
    if (length < 0 || static_cast<std::size_t>(length) >= text.size()) {
        return std::nullopt;
    }
    return std::string(text.data(), static_cast<std::size_t>(length));
}

xkb_keymap* XkbKeyboardLayout::keymap() const {
    if (!keymap_ && connection_ != nullptr) {
        keymap_.reset(xkb_x11_keymap_new_from_device(context_.get(), connection_, deviceId_,
                                                     XKB_KEYMAP_COMPILE_NO_FLAGS));
    }
    return keymap_.get();
}

std::optional<std::uint32_t> XkbKeyboardLayout::asciiCapableLayout(xkb_keymap* keymap) const {
    // The server's state tells which layout is active now; it changes too often to be kept.
    const State current(xkb_x11_state_new_from_device(keymap, connection_, deviceId_));
    const xkb_layout_index_t count = xkb_keymap_num_layouts(keymap);
    const xkb_layout_index_t active =
        current ? xkb_state_serialize_layout(current.get(), XKB_STATE_LAYOUT_EFFECTIVE) : 0;
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

} // namespace driftmark
