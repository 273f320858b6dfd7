#pragma once

#include "platform/MainQueue.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace driftmark::test {

// A main queue with its own manual monotonic time, counted in whole microseconds so that deadlines
// such as 0.1 + 0.5 land exactly on 0.6. Nothing runs until the test advances the time.
class ManualMainQueue final : public MainQueue {
public:
    // Runs at the current time, on the next advance() or runPending().
    void async(std::function<void()> task) override;
    void asyncAfter(double seconds, std::function<void()> task) override;

    // Runs every task that falls due within `seconds`, in deadline order (ties in queueing order),
    // moving the time to each task's deadline as it runs; tasks queued meanwhile run when they fall due.
    void advance(double seconds);
    void runPending() { advance(0); }
    // Drops the tasks not yet run, with whatever they hold, while the services they use still exist.
    void discardPending();

    // Seconds since the queue was made.
    double now() const override;
    std::size_t pendingCount() const { return tasks_.size(); }

private:
    struct Task {
        std::int64_t deadline;
        std::uint64_t sequence;
        std::function<void()> run;
    };

    std::vector<Task> tasks_;
    std::int64_t nowMicroseconds_ = 0;
    std::uint64_t nextSequence_ = 0;
};

} // namespace driftmark::test
