#pragma once

#include "platform/KeyboardLayout.h"

#include <cstdint>
#include <memory>

struct xcb_connection_t;
struct xkb_context;
struct xkb_keymap;

namespace driftmark {

class X11Context;
class X11KeyboardMappingWatcher;

// Key cap texts from the X server's keymap, read through xkbcommon. Of the keymap's layouts, the active
// one is used when it is ASCII-capable (it types a Latin letter on the A key), else the first that is.
// The keymap is read on first use and again after the keyboard mapping changed.
class XkbKeyboardLayout final : public KeyboardLayout {
public:
    // Works on the context's connection; without one, or without XKB, no key has a text.
    explicit XkbKeyboardLayout(const X11Context& x11);
    ~XkbKeyboardLayout() override;
    XkbKeyboardLayout(const XkbKeyboardLayout&) = delete;
    XkbKeyboardLayout& operator=(const XkbKeyboardLayout&) = delete;

    std::optional<std::string> keyCapText(std::uint16_t keyCode) const override;

private:
    struct ContextRelease {
        void operator()(xkb_context* context) const;
    };
    struct KeymapRelease {
        void operator()(xkb_keymap* keymap) const;
    };

    xkb_keymap* keymap() const;

    xcb_connection_t* connection_ = nullptr;
    std::int32_t deviceId_ = -1;
    std::unique_ptr<xkb_context, ContextRelease> context_;
    mutable std::unique_ptr<xkb_keymap, KeymapRelease> keymap_;
    std::unique_ptr<X11KeyboardMappingWatcher> mappingWatcher_;
};

} // namespace driftmark
