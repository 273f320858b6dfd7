// A Wayland compositor that offers nothing but a seat without devices: as far as Driftmark can tell, a
// desktop whose compositor makes no virtual keyboards, as GNOME's. It opens a socket in $XDG_RUNTIME_DIR,
// prints the socket's name, and serves until it is stopped.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <wayland-server.h>

namespace {

// With no capabilities, no client asks the seat for a device.
const struct wl_seat_interface seatRequests = {
    .get_pointer = nullptr,
    .get_keyboard = nullptr,
    .get_touch = nullptr,
    .release = nullptr,
};

void bindSeat(wl_client* client, void*, std::uint32_t version, std::uint32_t id) {
    wl_resource* seat =
        wl_resource_create(client, &wl_seat_interface, static_cast<int>(std::min(version, 1U)), id);
    if (seat == nullptr) {
        wl_client_post_no_memory(client);
        return;
    }
    wl_resource_set_implementation(seat, &seatRequests, nullptr, nullptr);
    wl_seat_send_capabilities(seat, 0);
}

} // namespace

int main() {
    wl_display* display = wl_display_create();
    const char* socket = display != nullptr ? wl_display_add_socket_auto(display) : nullptr;
    if (socket == nullptr || wl_global_create(display, &wl_seat_interface, 1, nullptr, bindSeat) == nullptr) {
        std::fprintf(stderr, "cannot serve a Wayland socket\n");
        return 1;
    }
    std::printf("%s\n", socket);
    std::fflush(stdout);
    wl_display_run(display);
    wl_display_destroy(display);
    return 0;
}
