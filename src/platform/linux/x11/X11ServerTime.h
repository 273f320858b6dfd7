#pragma once

#include <cstdint>
#include <optional>

struct xcb_connection_t;

namespace driftmark {

// The X server's current time, read from a PropertyNotify event on a hidden window of our own. It
// uses a connection of its own, so waiting for that event never takes an event away from Qt.
class X11ServerTime {
public:
    X11ServerTime() = default;
    ~X11ServerTime();
    X11ServerTime(const X11ServerTime&) = delete;
    X11ServerTime& operator=(const X11ServerTime&) = delete;

    // Absent when the display cannot be reached.
    std::optional<std::uint32_t> now();

private:
    bool connect();
    bool createWindow(int screenNumber);

    xcb_connection_t* connection_ = nullptr;
    std::uint32_t window_ = 0;
    std::uint32_t property_ = 0;
    bool ready_ = false;
};

} // namespace driftmark
