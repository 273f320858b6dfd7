#pragma once

#include "fakes/Timeline.h"
#include "platform/KeyEventPoster.h"

#include <cstdint>
#include <set>
#include <utility>
#include <vector>

namespace driftmark::test {

// Records each posted event with the main queue's time; posts go on the timeline as
// "keys: 9 down flags 0x100000".
class FakeKeyEventPoster final : public KeyEventPoster {
public:
    struct Posted {
        double time;
        KeyEvent event;
    };

    explicit FakeKeyEventPoster(Timeline& timeline)
        : timeline_(timeline) {}

    std::optional<KeyEvent> keyboardEvent(std::uint16_t virtualKey, bool keyDown) override;
    bool post(const KeyEvent& event) override;
    void prepare() override { ++prepared; }

    std::vector<Posted> posted;
    // (virtual key, key down) pairs whose events cannot be created.
    std::set<std::pair<std::uint16_t, bool>> uncreatable;
    // (virtual key, key down) pairs whose events are made but cannot be typed; they are not recorded.
    std::set<std::pair<std::uint16_t, bool>> untypable;
    // How many times the poster was asked to get ready.
    int prepared = 0;

private:
    Timeline& timeline_;
};

} // namespace driftmark::test
