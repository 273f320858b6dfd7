#pragma once

#include "platform/MainQueue.h"

namespace driftmark {

// Tasks run by Qt's event loop on the main thread: queued calls and precise single-shot timers.
class QtMainQueue final : public MainQueue {
public:
    void async(std::function<void()> task) override;
    void asyncAfter(double seconds, std::function<void()> task) override;
    double now() const override;
};

} // namespace driftmark
