#pragma once

#include "platform/Geometry.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace driftmark {

// Pointer movement seen while another application has the focus.
class PointerMonitor {
public:
    using Handle = std::uint64_t;
    virtual ~PointerMonitor() = default;
    // Absent when the platform cannot watch the pointer.
    virtual std::optional<Handle> addGlobalMouseMovedMonitor(std::function<void()> handler) = 0;
    virtual void removeMonitor(Handle handle) = 0;
    virtual Point mouseLocation() const = 0;
};

} // namespace driftmark
