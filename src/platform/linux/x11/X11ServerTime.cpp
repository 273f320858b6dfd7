#include "platform/linux/x11/X11ServerTime.h"

#include "platform/linux/x11/X11Context.h"
#include "platform/linux/x11/XcbReply.h"

#include <xcb/xcb.h>

namespace driftmark {

// Atoms and the root window belong to the server: those of Qt's connection serve on this one too.
X11ServerTime::X11ServerTime(const X11Context& x11)
    : root_(x11.root())
    , property_(x11.atoms().timestamp) {}

X11ServerTime::~X11ServerTime() {
    if (connection_ != nullptr) {
        xcb_disconnect(connection_);
    }
}

bool X11ServerTime::connect() {
    if (connection_ == nullptr) {
        connection_ = xcb_connect(nullptr, nullptr);
        ready_ = createWindow();
    }
    return ready_ && xcb_connection_has_error(connection_) == 0;
}

bool X11ServerTime::createWindow() {
    if (xcb_connection_has_error(connection_) != 0 || root_ == XCB_WINDOW_NONE ||
        property_ == XCB_ATOM_NONE) {
        return false;
    }
    window_ = xcb_generate_id(connection_);
    const std::uint32_t eventMask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, root_, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &eventMask);
    return true;
}

std::optional<std::uint32_t> X11ServerTime::now() {
    if (!connect()) {
        return std::nullopt;
    }
    // Appending nothing changes no data but still makes the server report the change, stamped with
    // its own time.
    xcb_change_property(connection_, XCB_PROP_MODE_APPEND, window_, property_, XCB_ATOM_STRING, 8, 0,
                        nullptr);
    xcb_flush(connection_);
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection_)) {
        const XcbReply<xcb_generic_event_t> owned(event);
        // Nothing else is asked on this connection, so an error can only be this request's.
        if (event->response_type == 0) {
            return std::nullopt;
        }
        if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
            const auto* notify = reinterpret_cast<xcb_property_notify_event_t*>(event);
            if (notify->window == window_ && notify->atom == property_) {
                return notify->time;
            }
        }
    }
    return std::nullopt;
}

} // namespace driftmark
