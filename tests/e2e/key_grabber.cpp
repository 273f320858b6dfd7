// Stands in for another program that owns a global shortcut: it grabs one key with the given modifiers
// on the root window, prints "ready" once the grabs are in place and "pressed" for every press it gets,
// and runs until it is killed.
//
//   key_grabber KEYSYM MODIFIER_MASK      e.g. key_grabber 0x6b 12 (Control+Mod1+k)
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: key_grabber KEYSYM MODIFIER_MASK\n", stderr);
        return 2;
    }
    const auto keysym = static_cast<xcb_keysym_t>(std::strtoul(argv[1], nullptr, 0));
    const auto modifiers = static_cast<std::uint16_t>(std::strtoul(argv[2], nullptr, 0));

    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection);
    xcb_keycode_t* keys = xcb_key_symbols_get_keycode(symbols, keysym);
    const xcb_keycode_t key = keys != nullptr ? keys[0] : XCB_NO_SYMBOL;
    std::free(keys);
    xcb_key_symbols_free(symbols);
    if (key == XCB_NO_SYMBOL) {
        return 1;
    }

    // Like a desktop program, with Caps Lock and Num Lock (Mod2 on common layouts) in any state.
    const std::uint16_t locks[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2, XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};
    for (const std::uint16_t lock : locks) {
        const xcb_void_cookie_t cookie = xcb_grab_key_checked(connection, 0, root, modifiers | lock, key,
                                                              XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        if (xcb_generic_error_t* error = xcb_request_check(connection, cookie)) {
            std::fprintf(stderr, "key_grabber: grab refused with error %d\n", error->error_code);
            std::free(error);
            return 1;
        }
    }
    std::puts("ready");
    std::fflush(stdout);

    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        if ((event->response_type & 0x7F) == XCB_KEY_PRESS) {
            std::puts("pressed");
            std::fflush(stdout);
        }
        std::free(event);
    }
    xcb_disconnect(connection);
    return 0;
}
