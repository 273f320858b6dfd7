#include "fakes/ManualMainQueue.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace driftmark::test {

namespace {

std::int64_t microseconds(double seconds) {
    return std::llround(seconds * 1'000'000);
}

} // namespace

void ManualMainQueue::async(std::function<void()> task) {
    asyncAfter(0, std::move(task));
}

void ManualMainQueue::asyncAfter(double seconds, std::function<void()> task) {
    tasks_.push_back({nowMicroseconds_ + microseconds(seconds), nextSequence_++, std::move(task)});
}

void ManualMainQueue::advance(double seconds) {
    const std::int64_t target = nowMicroseconds_ + microseconds(seconds);
    const auto earlier = [](const Task& a, const Task& b) {
        return a.deadline != b.deadline ? a.deadline < b.deadline : a.sequence < b.sequence;
    };
    for (;;) {
        const auto next = std::min_element(tasks_.begin(), tasks_.end(), earlier);
        if (next == tasks_.end() || next->deadline > target) {
            break;
        }
        Task task = std::move(*next);
        tasks_.erase(next);
        nowMicroseconds_ = task.deadline;
        task.run();
    }
    nowMicroseconds_ = target;
}

void ManualMainQueue::discardPending() {
    // Moved out first: a task's captures may queue more work as they are destroyed.
    const std::vector<Task> discarded = std::exchange(tasks_, {});
}

double ManualMainQueue::now() const {
    return static_cast<double>(nowMicroseconds_) / 1'000'000;
}

} // namespace driftmark::test
