#pragma once

#include "platform/PointerMonitor.h"

#include <map>
#include <vector>

namespace driftmark::test {

// Keeps the registered handlers and lets the test move the pointer, which calls every one of them.
class FakePointerMonitor final : public PointerMonitor {
public:
    std::optional<Handle> addGlobalMouseMovedMonitor(std::function<void()> handler) override;
    void removeMonitor(Handle handle) override;
    Point mouseLocation() const override { return location; }

    void moveTo(Point point);

    std::map<Handle, std::function<void()>> handlers;
    std::vector<Handle> removed;
    Point location;
    // When false, the platform cannot watch the pointer.
    bool available = true;

private:
    Handle nextHandle_ = 1;
};

} // namespace driftmark::test
