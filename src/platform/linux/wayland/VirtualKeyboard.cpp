#include "platform/linux/wayland/VirtualKeyboard.h"

#include "platform/linux/wayland/WaylandConnection.h"
#include "virtual-keyboard-unstable-v1-client-protocol.h"

#include <chrono>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

namespace driftmark {

namespace {

// Key times count milliseconds from any start; the monotonic clock's never jumps back.
std::uint32_t now() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
}

// The keymap in a file of its own in memory, NUL-terminated as the compositor reads it, and sealed so
// that the compositor can map it without fearing that it shrinks.
int keymapFile(const std::string& text) {
    const int fd = memfd_create("driftmark-keymap", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (fd < 0) {
        return -1;
    }
    const char* bytes = text.c_str();
    std::size_t left = text.size() + 1;
    while (left > 0) {
        const ssize_t written = write(fd, bytes, left);
        if (written <= 0) {
            close(fd);
            return -1;
        }
        bytes += written;
        left -= static_cast<std::size_t>(written);
    }
    fcntl(fd, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE | F_SEAL_SEAL);
    return fd;
}

} // namespace

std::unique_ptr<VirtualKeyboard> VirtualKeyboard::create(WaylandConnection& connection) {
    if (connection.lost() || connection.virtualKeyboardManager() == nullptr || connection.seat() == nullptr) {
        return nullptr;
    }
    zwp_virtual_keyboard_v1* keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(
        connection.virtualKeyboardManager(), connection.seat());
    return std::unique_ptr<VirtualKeyboard>(new VirtualKeyboard(connection, keyboard));
}

VirtualKeyboard::VirtualKeyboard(WaylandConnection& connection, zwp_virtual_keyboard_v1* keyboard)
    : connection_(connection)
    , keyboard_(keyboard) {}

VirtualKeyboard::~VirtualKeyboard() {
    zwp_virtual_keyboard_v1_destroy(keyboard_);
    connection_.flush();
}

bool VirtualKeyboard::setKeymap(const std::string& text) {
    const int fd = keymapFile(text);
    if (fd < 0) {
        return false;
    }
    // The request carries a duplicate of the descriptor; this one is no longer needed once it is made.
    zwp_virtual_keyboard_v1_keymap(keyboard_, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                   static_cast<std::uint32_t>(text.size() + 1));
    close(fd);
    hasKeymap_ = true;
    return true;
}

void VirtualKeyboard::key(std::uint32_t evdevCode, bool down) {
    if (hasKeymap_) {
        zwp_virtual_keyboard_v1_key(keyboard_, now(), evdevCode,
                                    down ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
    }
}

void VirtualKeyboard::modifiers(const ModifierState& state) {
    if (hasKeymap_) {
        zwp_virtual_keyboard_v1_modifiers(keyboard_, state.depressed, state.latched, state.locked,
                                          state.group);
    }
}

} // namespace driftmark
