#pragma once

#include "platform/Geometry.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace driftmark {

// One input event of the application's own windows. Types use the numbering below; a mask of types has
// bit (1 << type) set for each type it includes, so key down and up together are 0xC00.
struct LocalEvent {
    enum Type : int {
        leftMouseDown = 1,
        leftMouseUp = 2,
        rightMouseDown = 3,
        rightMouseUp = 4,
        keyDown = 10,
        keyUp = 11,
        flagsChanged = 12,
    };

    // The key code of a key that has no virtual key code (Print, Pause, Menu): no shortcut can use it.
    static constexpr std::uint16_t noKeyCode = 0xFFFF;

    int type = keyDown;
    // The virtual key code of the physical key, or noKeyCode; 0 for mouse events.
    std::uint16_t keyCode = 0;
    // Modifier flags held: Caps Lock 0x10000, Shift 0x20000, Control 0x40000, Option 0x80000,
    // Command 0x100000, Function 0x800000, plus device-dependent bits below 0x10000.
    std::uint64_t modifierFlags = 0;
    // Where a mouse event happened, in the coordinates of the window it belongs to.
    Point locationInWindow;
};

constexpr std::uint64_t eventMask(int type) {
    return std::uint64_t{1} << type;
}

// Lets the application see its own input events before they reach their targets.
class LocalEventMonitorService {
public:
    using Handle = std::uint64_t;
    // Returns the event to deliver (as it was or changed), or nothing to drop it.
    using Handler = std::function<std::optional<LocalEvent>(const LocalEvent&)>;

    virtual ~LocalEventMonitorService() = default;
    // The handler sees, on the main thread, every event of the application whose type is in the mask.
    virtual Handle addLocalMonitor(std::uint64_t mask, Handler handler) = 0;
    // Unknown or already removed handles are ignored.
    virtual void removeMonitor(Handle handle) = 0;
};

} // namespace driftmark
