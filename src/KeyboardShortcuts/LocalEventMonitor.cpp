#include "KeyboardShortcuts/LocalEventMonitor.h"

#include <utility>

namespace driftmark::KeyboardShortcuts {

LocalEventMonitor::LocalEventMonitor(LocalEventMonitorService& service, std::uint64_t events,
                                     LocalEventMonitorService::Handler callback)
    : service_(service)
    , events_(events)
    , callback_(std::move(callback)) {}

LocalEventMonitor::~LocalEventMonitor() {
    stop();
}

LocalEventMonitor& LocalEventMonitor::start() {
    stop();
    monitor_ = service_.addLocalMonitor(events_, callback_);
    return *this;
}

void LocalEventMonitor::stop() {
    if (const auto monitor = std::exchange(monitor_, std::nullopt)) {
        service_.removeMonitor(*monitor);
    }
}

} // namespace driftmark::KeyboardShortcuts
