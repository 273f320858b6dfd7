#include "platform/linux/keys/XkbKeyboardLayout.h"

#include "platform/linux/keys/X11KeyboardMappingWatcher.h"
#include "platform/linux/keys/XkbKeyCaps.h"
#include "platform/linux/x11/X11Context.h"

#include <xkbcommon/xkbcommon-x11.h>
#include <xkbcommon/xkbcommon.h>

namespace driftmark {

namespace {

struct StateRelease {
    void operator()(xkb_state* state) const { xkb_state_unref(state); }
};
using State = std::unique_ptr<xkb_state, StateRelease>;

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
    xkb_keymap* const keymap = this->keymap();
    if (keymap == nullptr) {
        return std::nullopt;
    }
    // The server's state tells which layout is active now; it changes too often to be kept.
    const State current(xkb_x11_state_new_from_device(keymap, connection_, deviceId_));
    const xkb_layout_index_t active =
        current ? xkb_state_serialize_layout(current.get(), XKB_STATE_LAYOUT_EFFECTIVE) : 0;
    return xkbKeyCaps::keyCapTextForVirtualKey(keymap, active, keyCode);
}

xkb_keymap* XkbKeyboardLayout::keymap() const {
    if (!keymap_ && connection_ != nullptr) {
        keymap_.reset(xkb_x11_keymap_new_from_device(context_.get(), connection_, deviceId_,
                                                     XKB_KEYMAP_COMPILE_NO_FLAGS));
    }
    return keymap_.get();
}

} // namespace driftmark
