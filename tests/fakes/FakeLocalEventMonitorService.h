#pragma once

#include "platform/LocalEventMonitorService.h"

#include <map>
#include <utility>
#include <vector>

namespace driftmark::test {

// Keeps the monitors and lets the test send an event through them, as the application would.
class FakeLocalEventMonitorService final : public LocalEventMonitorService {
public:
    Handle addLocalMonitor(std::uint64_t mask, Handler handler) override {
        monitors.emplace(++lastHandle_, std::make_pair(mask, std::move(handler)));
        return lastHandle_;
    }
    void removeMonitor(Handle handle) override { monitors.erase(handle); }

    // The event as it reaches its target after every monitor whose mask includes it; none when swallowed.
    // As in the application, a handler may add or remove monitors, its own included: one added sees the
    // next event, one removed does not run.
    std::optional<LocalEvent> send(LocalEvent event) {
        std::vector<Handle> handles;
        for (const auto& [handle, monitor] : monitors) {
            handles.push_back(handle);
        }
        for (const Handle handle : handles) {
            const auto found = monitors.find(handle);
            if (found == monitors.end() || (found->second.first & eventMask(event.type)) == 0) {
                continue;
            }
            const Handler handler = found->second.second;
            auto passed = handler(event);
            if (!passed) {
                return std::nullopt;
            }
            event = *passed;
        }
        return event;
    }

    std::map<Handle, std::pair<std::uint64_t, Handler>> monitors;

private:
    Handle lastHandle_ = 0;
};

} // namespace driftmark::test
