#include "platform/linux/wayland/SeatKeyboardLayout.h"

#include "platform/linux/keys/XkbKeyCaps.h"
#include "platform/linux/wayland/SeatKeymap.h"

#include <xkbcommon/xkbcommon.h>

namespace driftmark {

void SeatKeyboardLayout::Release::operator()(xkb_context* context) const {
    xkb_context_unref(context);
}

void SeatKeyboardLayout::Release::operator()(xkb_keymap* keymap) const {
    xkb_keymap_unref(keymap);
}

SeatKeyboardLayout::SeatKeyboardLayout(const SeatKeymap& seatKeymap)
    : seatKeymap_(seatKeymap)
    , context_(xkb_context_new(XKB_CONTEXT_NO_FLAGS)) {}

SeatKeyboardLayout::~SeatKeyboardLayout() = default;

std::optional<std::string> SeatKeyboardLayout::keyCapText(std::uint16_t keyCode) const {
    return xkbKeyCaps::keyCapTextForVirtualKey(keymap(), seatKeymap_.layout(), keyCode);
}

// While the seat has shown no keymap (it has no keyboard yet), the XKB defaults stand in, as they do for
// the compositor's own keyboards.
xkb_keymap* SeatKeyboardLayout::keymap() const {
    if ((keymap_ && compiledGeneration_ == seatKeymap_.generation()) || !context_) {
        return keymap_.get();
    }
    compiledGeneration_ = seatKeymap_.generation();
    const std::string& text = seatKeymap_.text();
    keymap_.reset(text.empty()
                      ? xkb_keymap_new_from_names(context_.get(), nullptr, XKB_KEYMAP_COMPILE_NO_FLAGS)
                      : xkb_keymap_new_from_buffer(context_.get(), text.data(), text.size(),
                                                   XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS));
    return keymap_.get();
}

} // namespace driftmark
