// A keyboard for the tests on the headless KWin, which has none: it presses a chord of keys and lets it
// go, through KWin's fake-input protocol, so that KWin's global shortcuts see a press and a release as
// from a hand. KWin offers the protocol to any client only when its permission checks are off
// (KWIN_WAYLAND_NO_PERMISSION_CHECKS=1, as scripts/with-kwin-desktop runs it).
//
//   driftmark_e2e_kwin_keys KEY...
//
// Each KEY is a Linux event code (29 Left Control, 42 Left Shift, 22 U); they go down in order and up in
// the reverse order. Exits with 0 once the compositor has taken every key.
#include "fake-input-client-protocol.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include <wayland-client.h>

namespace {

// fake_input's keyboard_key, since version 4.
constexpr uint32_t keyboardKeyVersion = 4;
constexpr uint32_t released = 0;
constexpr uint32_t pressed = 1;

struct Globals {
    org_kde_kwin_fake_input* fakeInput = nullptr;
};

void global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 &&
        version >= keyboardKeyVersion) {
        globals->fakeInput = static_cast<org_kde_kwin_fake_input*>(
            wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, keyboardKeyVersion));
    }
}

void globalRemove(void* /*data*/, wl_registry* /*registry*/, uint32_t /*name*/) {}

const wl_registry_listener registryListener = {global, globalRemove};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s KEY...\n", argv[0]);
        return 2;
    }
    std::vector<uint32_t> keys;
    for (int i = 1; i < argc; ++i) {
        keys.push_back(static_cast<uint32_t>(std::stoul(argv[i])));
    }

    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no Wayland compositor\n");
        return 1;
    }
    Globals globals;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &globals);
    wl_display_roundtrip(display);
    if (globals.fakeInput == nullptr) {
        std::fprintf(stderr, "the compositor offers no fake input with keys (is it KWin with its permission "
                             "checks off?)\n");
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(globals.fakeInput, "driftmark-e2e", "end-to-end tests");
    // One key at a time, each taken before the next, as a hand would press them.
    for (const uint32_t key : keys) {
        org_kde_kwin_fake_input_keyboard_key(globals.fakeInput, key, pressed);
        wl_display_roundtrip(display);
    }
    for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
        org_kde_kwin_fake_input_keyboard_key(globals.fakeInput, *key, released);
        wl_display_roundtrip(display);
    }
    const int error = wl_display_get_error(display);
    org_kde_kwin_fake_input_destroy(globals.fakeInput);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    if (error != 0) {
        std::fprintf(stderr, "the compositor refused the keys (error %d)\n", error);
        return 1;
    }
    return 0;
}
