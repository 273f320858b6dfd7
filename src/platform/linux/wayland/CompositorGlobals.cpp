#include "platform/linux/wayland/CompositorGlobals.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <wayland-client.h>

namespace driftmark {

namespace {

void global(void* data, wl_registry*, std::uint32_t, const char* interface, std::uint32_t) {
    static_cast<std::vector<std::string>*>(data)->emplace_back(interface);
}

void globalRemoved(void*, wl_registry*, std::uint32_t) {}

} // namespace

std::optional<CompositorGlobals> CompositorGlobals::ask(std::string& reason) {
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        reason = std::strerror(errno);
        return std::nullopt;
    }
    static const wl_registry_listener listener = {.global = &global, .global_remove = &globalRemoved};
    CompositorGlobals globals;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &listener, &globals.interfaces_);
    const bool answered = wl_display_roundtrip(display) >= 0;
    if (!answered) {
        reason = "the compositor did not answer";
    }
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    if (!answered) {
        return std::nullopt;
    }
    return globals;
}

bool CompositorGlobals::offers(const std::string& interface) const {
    return std::find(interfaces_.begin(), interfaces_.end(), interface) != interfaces_.end();
}

} // namespace driftmark
