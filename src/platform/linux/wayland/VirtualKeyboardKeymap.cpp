#include "platform/linux/wayland/VirtualKeyboardKeymap.h"

#include "platform/linux/keys/KeyPositions.h"

#include <cstdlib>
#include <xkbcommon/xkbcommon.h>

namespace driftmark {

namespace {

// The keymap's bit for a modifier named as xkbcommon names the real ones; 0 when the keymap has none.
std::uint32_t maskOf(xkb_keymap* keymap, const char* name) {
    const xkb_mod_index_t index = xkb_keymap_mod_get_index(keymap, name);
    return index == XKB_MOD_INVALID || index >= 32 ? 0 : std::uint32_t{1} << index;
}

} // namespace

void VirtualKeyboardKeymap::Release::operator()(xkb_context* context) const {
    xkb_context_unref(context);
}

void VirtualKeyboardKeymap::Release::operator()(xkb_keymap* keymap) const {
    xkb_keymap_unref(keymap);
}

void VirtualKeyboardKeymap::Release::operator()(xkb_state* state) const {
    xkb_state_unref(state);
}

std::unique_ptr<VirtualKeyboardKeymap> VirtualKeyboardKeymap::fromText(const std::string& text) {
    std::unique_ptr<xkb_context, Release> context(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    if (!context) {
        return nullptr;
    }
    std::unique_ptr<xkb_keymap, Release> keymap(xkb_keymap_new_from_string(
        context.get(), text.c_str(), XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap) {
        return nullptr;
    }
    return std::unique_ptr<VirtualKeyboardKeymap>(
        new VirtualKeyboardKeymap(std::move(context), std::move(keymap), text));
}

std::unique_ptr<VirtualKeyboardKeymap> VirtualKeyboardKeymap::fromDefaults() {
    std::unique_ptr<xkb_context, Release> context(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    if (!context) {
        return nullptr;
    }
    // Names left unset are taken from the environment, then from xkbcommon's defaults.
    const xkb_rule_names names{};
    std::unique_ptr<xkb_keymap, Release> keymap(
        xkb_keymap_new_from_names(context.get(), &names, XKB_KEYMAP_COMPILE_NO_FLAGS));
    char* text = keymap ? xkb_keymap_get_as_string(keymap.get(), XKB_KEYMAP_FORMAT_TEXT_V1) : nullptr;
    if (text == nullptr) {
        return nullptr;
    }
    std::string copied(text);
    std::free(text);
    return std::unique_ptr<VirtualKeyboardKeymap>(
        new VirtualKeyboardKeymap(std::move(context), std::move(keymap), std::move(copied)));
}

VirtualKeyboardKeymap::VirtualKeyboardKeymap(std::unique_ptr<xkb_context, Release> context,
                                             std::unique_ptr<xkb_keymap, Release> keymap, std::string text)
    : context_(std::move(context))
    , keymap_(std::move(keymap))
    , state_(xkb_state_new(keymap_.get()))
    , text_(std::move(text))
    , masks_{maskOf(keymap_.get(), XKB_MOD_NAME_SHIFT), maskOf(keymap_.get(), XKB_MOD_NAME_CTRL),
             maskOf(keymap_.get(), XKB_MOD_NAME_ALT)} {}

VirtualKeyboardKeymap::~VirtualKeyboardKeymap() = default;

ModifierState VirtualKeyboardKeymap::state() const {
    if (!state_) {
        return {};
    }
    return ModifierState{xkb_state_serialize_mods(state_.get(), XKB_STATE_MODS_DEPRESSED),
                         xkb_state_serialize_mods(state_.get(), XKB_STATE_MODS_LATCHED),
                         xkb_state_serialize_mods(state_.get(), XKB_STATE_MODS_LOCKED),
                         xkb_state_serialize_layout(state_.get(), XKB_STATE_LAYOUT_EFFECTIVE)};
}

void VirtualKeyboardKeymap::update(std::uint32_t evdevCode, bool down) {
    if (state_) {
        xkb_state_update_key(state_.get(), evdevCode + evdevToXKeyCodeOffset,
                             down ? XKB_KEY_DOWN : XKB_KEY_UP);
    }
}

} // namespace driftmark
