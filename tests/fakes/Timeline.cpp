#include "fakes/Timeline.h"

#include <cstdio>

namespace driftmark::test {

void Timeline::record(std::string_view source, std::string_view detail) {
    char time[32];
    std::snprintf(time, sizeof time, "%.3f ", clock_.now());
    std::string event(time);
    event.append(source).append(": ").append(detail);
    events_.push_back(std::move(event));
}

std::vector<std::string> Timeline::without(std::string_view source) const {
    const std::string marker = " " + std::string(source) + ": ";
    std::vector<std::string> kept;
    for (const std::string& event : events_) {
        if (event.find(marker) != event.find(' ')) {
            kept.push_back(event);
        }
    }
    return kept;
}

} // namespace driftmark::test
