#pragma once

#include <functional>

namespace driftmark {

// The main thread's queue of deferred work. Tasks run one at a time between other main-thread work;
// nothing is ever cancelled once queued.
class MainQueue {
public:
    virtual ~MainQueue() = default;
    virtual void async(std::function<void()> task) = 0;
    virtual void asyncAfter(double seconds, std::function<void()> task) = 0;
    // Seconds on a monotonic clock from an origin of its own, the clock asyncAfter() counts on: for
    // telling how long something took.
    virtual double now() const = 0;
};

} // namespace driftmark
