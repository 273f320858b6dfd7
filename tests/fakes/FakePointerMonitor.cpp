#include "fakes/FakePointerMonitor.h"

namespace driftmark::test {

std::optional<PointerMonitor::Handle>
FakePointerMonitor::addGlobalMouseMovedMonitor(std::function<void()> handler) {
    if (!available) {
        return std::nullopt;
    }
    handlers[nextHandle_] = std::move(handler);
    return nextHandle_++;
}

void FakePointerMonitor::removeMonitor(Handle handle) {
    handlers.erase(handle);
    removed.push_back(handle);
}

void FakePointerMonitor::moveTo(Point point) {
    location = point;
    // A copy: a handler may add or remove monitors.
    const auto current = handlers;
    for (const auto& [handle, handler] : current) {
        handler();
    }
}

} // namespace driftmark::test
