#pragma once

#include "platform/linux/wayland/VirtualKeyboardModifiers.h"

#include <cstdint>
#include <memory>
#include <string>

struct xkb_context;
struct xkb_keymap;
struct xkb_state;

namespace driftmark {

// The keymap a virtual keyboard types with, read by xkbcommon, and the modifier state that the keys
// typed with it make: a virtual keyboard sends its modifiers itself, the compositor works none out.
class VirtualKeyboardKeymap final {
public:
    // Absent when xkbcommon cannot read the text.
    static std::unique_ptr<VirtualKeyboardKeymap> fromText(const std::string& text);
    // The keymap of the XKB_DEFAULT_* rules, model, layout, variant and options in the environment, and
    // of xkbcommon's own defaults for those unset. Absent when the keyboard descriptions are missing.
    static std::unique_ptr<VirtualKeyboardKeymap> fromDefaults();
    ~VirtualKeyboardKeymap();
    VirtualKeyboardKeymap(const VirtualKeyboardKeymap&) = delete;
    VirtualKeyboardKeymap& operator=(const VirtualKeyboardKeymap&) = delete;

    // The keymap as XKB text, to hand to the compositor.
    const std::string& text() const { return text_; }
    const ModifierMasks& masks() const { return masks_; }
    // The modifier state of the keys typed so far.
    ModifierState state() const;
    // Notes an evdev key going down or up; a modifier key changes the state.
    void update(std::uint32_t evdevCode, bool down);

private:
    struct Release {
        void operator()(xkb_context* context) const;
        void operator()(xkb_keymap* keymap) const;
        void operator()(xkb_state* state) const;
    };

    VirtualKeyboardKeymap(std::unique_ptr<xkb_context, Release> context,
                          std::unique_ptr<xkb_keymap, Release> keymap, std::string text);

    std::unique_ptr<xkb_context, Release> context_;
    std::unique_ptr<xkb_keymap, Release> keymap_;
    std::unique_ptr<xkb_state, Release> state_;
    std::string text_;
    ModifierMasks masks_;
};

} // namespace driftmark
