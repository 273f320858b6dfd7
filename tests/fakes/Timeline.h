#pragma once

#include "fakes/ManualMainQueue.h"

#include <string>
#include <string_view>
#include <vector>

namespace driftmark::test {

// What several fakes saw, in one order, each event stamped with the manual main queue's time, e.g.
// "0.650 keys: 9 down flags 0x100000". Lets a test check order and timing across services at once.
class Timeline {
public:
    explicit Timeline(const ManualMainQueue& clock)
        : clock_(clock) {}

    void record(std::string_view source, std::string_view detail);
    double now() const { return clock_.now(); }

    const std::vector<std::string>& events() const { return events_; }
    // The events of every source but one, typically to leave out the log lines.
    std::vector<std::string> without(std::string_view source) const;
    void clear() { events_.clear(); }

private:
    const ManualMainQueue& clock_;
    std::vector<std::string> events_;
};

} // namespace driftmark::test
