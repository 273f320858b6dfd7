#pragma once

#include <chrono>

namespace driftmark {

// Wall-clock time, injectable so that midnight and time-zone cases can be tested without waiting.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::chrono::system_clock::time_point now() const = 0;
};

class SystemClock final : public Clock {
public:
    std::chrono::system_clock::time_point now() const override { return std::chrono::system_clock::now(); }
    static SystemClock& shared() {
        static SystemClock clock;
        return clock;
    }
};

} // namespace driftmark
