#pragma once

#include "platform/linux/wayland/VirtualKeyboardModifiers.h"

#include <cstdint>
#include <memory>
#include <string>

struct zwp_virtual_keyboard_v1;

namespace driftmark {

class WaylandConnection;

// A keyboard of Driftmark's own on the compositor's seat, through the virtual-keyboard protocol: what it
// types reaches the focused window as if typed on a real keyboard, native Wayland and XWayland windows
// alike. It types nothing before it has a keymap, since the compositor would close the connection.
class VirtualKeyboard final {
public:
    // Absent when the compositor offers no virtual keyboards or no seat, or the connection is lost.
    static std::unique_ptr<VirtualKeyboard> create(WaylandConnection& connection);
    ~VirtualKeyboard();
    VirtualKeyboard(const VirtualKeyboard&) = delete;
    VirtualKeyboard& operator=(const VirtualKeyboard&) = delete;

    // Hands the XKB keymap to the compositor; false when it could not be put in a file.
    bool setKeymap(const std::string& text);
    void key(std::uint32_t evdevCode, bool down);
    void modifiers(const ModifierState& state);

private:
    VirtualKeyboard(WaylandConnection& connection, zwp_virtual_keyboard_v1* keyboard);

    WaylandConnection& connection_;
    zwp_virtual_keyboard_v1* keyboard_;
    bool hasKeymap_ = false;
};

} // namespace driftmark
