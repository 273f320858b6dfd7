#include "fakes/FakeKeyEventPoster.h"

#include <cstdio>
#include <string>

namespace driftmark::test {

std::optional<KeyEvent> FakeKeyEventPoster::keyboardEvent(std::uint16_t virtualKey, bool keyDown) {
    if (uncreatable.contains({virtualKey, keyDown})) {
        return std::nullopt;
    }
    return KeyEvent{virtualKey, keyDown, std::nullopt};
}

bool FakeKeyEventPoster::post(const KeyEvent& event) {
    if (untypable.contains({event.virtualKey, event.keyDown})) {
        return false;
    }
    posted.push_back({timeline_.now(), event});
    std::string detail = std::to_string(event.virtualKey) + (event.keyDown ? " down" : " up");
    if (event.flags) {
        char flags[32];
        std::snprintf(flags, sizeof flags, " flags 0x%llx", static_cast<unsigned long long>(*event.flags));
        detail += flags;
    }
    timeline_.record("keys", detail);
    return true;
}

} // namespace driftmark::test
