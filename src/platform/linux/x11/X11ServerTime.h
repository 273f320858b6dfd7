#pragma once

#include <cstdint>
#include <optional>

struct xcb_connection_t;

namespace driftmark {

class X11Context;

// The X server's current time, read from a PropertyNotify event on a hidden window of our own. It
// uses a connection of its own, so waiting for that event never takes an event away from Qt.
class X11ServerTime {
public:
    // The window is made on the context's screen, the first time the time is asked for.
    explicit X11ServerTime(const X11Context& x11);
    ~X11ServerTime();
    X11ServerTime(const X11ServerTime&) = delete;
    X11ServerTime& operator=(const X11ServerTime&) = delete;

    // Absent when the display cannot be reached.
    std::optional<std::uint32_t> now();

private:
    bool connect();
    bool createWindow();

    std::uint32_t root_;
    std::uint32_t property_;
    xcb_connection_t* connection_ = nullptr;
    std::uint32_t window_ = 0;
    bool ready_ = false;
};

} // namespace driftmark
