#pragma once

#include "platform/Clock.h"

#include <atomic>

namespace driftmark::test {

// A clock that stands still until the test sets or advances it. Safe to read from another thread,
// such as the logger's writer, while the test moves it.
class ManualClock final : public Clock {
public:
    using time_point = std::chrono::system_clock::time_point;

    explicit ManualClock(time_point start = {})
        : now_(start) {}

    time_point now() const override { return now_.load(); }
    void set(time_point time) { now_.store(time); }
    void advance(std::chrono::system_clock::duration by) { now_.store(now_.load() + by); }

private:
    std::atomic<time_point> now_;
};

} // namespace driftmark::test
