#include "platform/linux/wayland/SeatKeymap.h"

#include "platform/linux/wayland/WaylandConnection.h"

#include <cstring>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

namespace driftmark {

SeatKeymap::SeatKeymap(WaylandConnection& connection) {
    static const wl_registry_listener listener = {
        .global = &SeatKeymap::global,
        .global_remove = &SeatKeymap::globalRemoved,
    };
    if (connection.lost()) {
        return;
    }
    // The globals come with the connection's next dispatch; the keymap follows within the same moment.
    registry_ = wl_display_get_registry(connection.display());
    wl_registry_add_listener(registry_, &listener, this);
    connection.flush();
}

SeatKeymap::~SeatKeymap() {
    if (keyboard_ != nullptr) {
        wl_keyboard_destroy(keyboard_);
    }
    if (seat_ != nullptr) {
        wl_seat_destroy(seat_);
    }
    if (registry_ != nullptr) {
        wl_registry_destroy(registry_);
    }
}

// The first seat announced, as the connection takes it. Its first version tells the capabilities and
// the keymap, which is all this needs.
void SeatKeymap::global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                        std::uint32_t) {
    static const wl_seat_listener listener = {
        .capabilities = &SeatKeymap::capabilities,
        .name = nullptr,
    };
    auto* self = static_cast<SeatKeymap*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && self->seat_ == nullptr) {
        self->seat_ = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
        wl_seat_add_listener(self->seat_, &listener, self);
    }
}

void SeatKeymap::globalRemoved(void*, wl_registry*, std::uint32_t) {}

// A seat without a keyboard keeps the keymap it last had: the layout of the keyboard that comes back is
// most likely the same.
void SeatKeymap::capabilities(void* data, wl_seat* seat, std::uint32_t capabilities) {
    static const wl_keyboard_listener listener = {
        .keymap = &SeatKeymap::keymap,
        .enter = &SeatKeymap::enter,
        .leave = &SeatKeymap::leave,
        .key = &SeatKeymap::key,
        .modifiers = &SeatKeymap::modifiers,
        .repeat_info = nullptr,
    };
    auto* self = static_cast<SeatKeymap*>(data);
    const bool hasKeyboard = (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
    if (hasKeyboard && self->keyboard_ == nullptr) {
        self->keyboard_ = wl_seat_get_keyboard(seat);
        wl_keyboard_add_listener(self->keyboard_, &listener, self);
    } else if (!hasKeyboard && self->keyboard_ != nullptr) {
        wl_keyboard_destroy(self->keyboard_);
        self->keyboard_ = nullptr;
    }
}

void SeatKeymap::keymap(void* data, wl_keyboard*, std::uint32_t format, std::int32_t fd, std::uint32_t size) {
    auto* self = static_cast<SeatKeymap*>(data);
    if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && size > 0) {
        void* mapped = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (mapped != MAP_FAILED) {
            // The text ends with a NUL that the size counts.
            const auto* text = static_cast<const char*>(mapped);
            self->text_.assign(text, strnlen(text, size));
            ++self->generation_;
            munmap(mapped, size);
        }
    }
    close(fd);
}

// Driftmark has no surface on this connection, so its keyboard never has the focus.
void SeatKeymap::enter(void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {}

void SeatKeymap::leave(void*, wl_keyboard*, std::uint32_t, wl_surface*) {}

void SeatKeymap::key(void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {}

void SeatKeymap::modifiers(void* data, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t,
                           std::uint32_t, std::uint32_t group) {
    static_cast<SeatKeymap*>(data)->layout_ = group;
}

} // namespace driftmark
