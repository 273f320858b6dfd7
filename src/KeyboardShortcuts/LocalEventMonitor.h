#pragma once

#include "platform/LocalEventMonitorService.h"

#include <cstdint>
#include <optional>

namespace driftmark::KeyboardShortcuts {

// Sees the application's own input events of the given types for as long as it lives once started; the
// callback returns the event to pass it on, or nothing to swallow it.
class LocalEventMonitor {
public:
    LocalEventMonitor(LocalEventMonitorService& service, std::uint64_t events,
                      LocalEventMonitorService::Handler callback);
    ~LocalEventMonitor();
    LocalEventMonitor(const LocalEventMonitor&) = delete;
    LocalEventMonitor& operator=(const LocalEventMonitor&) = delete;

    // Starting again replaces the earlier monitor.
    LocalEventMonitor& start();

private:
    void stop();

    LocalEventMonitorService& service_;
    std::uint64_t events_;
    LocalEventMonitorService::Handler callback_;
    std::optional<LocalEventMonitorService::Handle> monitor_;
};

} // namespace driftmark::KeyboardShortcuts
