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
};

} // namespace driftmark
