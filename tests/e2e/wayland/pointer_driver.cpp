// A pointer for the tests on the headless sway, whose seat has none: it moves to a place on the outputs
// and clicks a button there, through the compositor's virtual-pointer protocol.
//
//   driftmark_e2e_wayland_pointer X Y WIDTH HEIGHT [BUTTON]
//
// X and Y are a place within the outputs' area of WIDTH x HEIGHT; BUTTON is the Linux event code of the
// button (default 272, the left one). Exits with 0 once the compositor has taken the click.
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <wayland-client.h>

namespace {

struct Globals {
    wl_seat* seat = nullptr;
    zwlr_virtual_pointer_manager_v1* manager = nullptr;
};

void global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t /*version*/) {
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && globals->seat == nullptr) {
        globals->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        globals->manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    }
}

void globalRemove(void* /*data*/, wl_registry* /*registry*/, uint32_t /*name*/) {}

const wl_registry_listener registryListener = {global, globalRemove};

uint32_t now() {
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

// A pause between the steps of a click, so that the client under the pointer sees the pointer arrive
// before the button, as it would from a hand.
void settle(wl_display* display) {
    wl_display_roundtrip(display);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5 && argc != 6) {
        std::fprintf(stderr, "usage: %s X Y WIDTH HEIGHT [BUTTON]\n", argv[0]);
        return 2;
    }
    const auto x = static_cast<uint32_t>(std::stoul(argv[1]));
    const auto y = static_cast<uint32_t>(std::stoul(argv[2]));
    const auto width = static_cast<uint32_t>(std::stoul(argv[3]));
    const auto height = static_cast<uint32_t>(std::stoul(argv[4]));
    const auto button = static_cast<uint32_t>(argc == 6 ? std::stoul(argv[5]) : 272);

    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no Wayland compositor\n");
        return 1;
    }
    Globals globals;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &globals);
    wl_display_roundtrip(display);
    if (globals.manager == nullptr) {
        std::fprintf(stderr, "the compositor makes no virtual pointers\n");
        return 1;
    }

    zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.manager, globals.seat);
    // Next to the place first, then onto it: the client under it sees the pointer move within it.
    zwlr_virtual_pointer_v1_motion_absolute(pointer, now(), x > 0 ? x - 1 : x + 1, y, width, height);
    zwlr_virtual_pointer_v1_frame(pointer);
    settle(display);
    zwlr_virtual_pointer_v1_motion_absolute(pointer, now(), x, y, width, height);
    zwlr_virtual_pointer_v1_frame(pointer);
    settle(display);
    zwlr_virtual_pointer_v1_button(pointer, now(), button, WL_POINTER_BUTTON_STATE_PRESSED);
    zwlr_virtual_pointer_v1_frame(pointer);
    wl_display_roundtrip(display);
    zwlr_virtual_pointer_v1_button(pointer, now(), button, WL_POINTER_BUTTON_STATE_RELEASED);
    zwlr_virtual_pointer_v1_frame(pointer);
    settle(display);

    zwlr_virtual_pointer_v1_destroy(pointer);
    zwlr_virtual_pointer_manager_v1_destroy(globals.manager);
    if (globals.seat != nullptr) {
        wl_seat_destroy(globals.seat);
    }
    wl_registry_destroy(registry);
    const bool ok = wl_display_roundtrip(display) >= 0;
    wl_display_disconnect(display);
    return ok ? 0 : 1;
}
