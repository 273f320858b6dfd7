#include "platform/linux/keys/X11KeyboardMappingWatcher.h"

#include "platform/linux/x11/XcbXkb.h"

#include <QCoreApplication>
#include <utility>
#include <xcb/xcb.h>

namespace driftmark {

namespace {

// The response type without the bit that marks events sent by another client.
constexpr std::uint8_t eventTypeMask = 0x7F;

} // namespace

X11KeyboardMappingWatcher::X11KeyboardMappingWatcher(xcb_connection_t* connection,
                                                     std::function<void()> changed)
    : changed_(std::move(changed)) {
    // Qt selects the XKB keyboard and map notifications on its connection; they reach every filter.
    const auto* xkb = xcb_get_extension_data(connection, &xcb_xkb_id);
    if (xkb != nullptr && xkb->present != 0) {
        xkbEventBase_ = xkb->first_event;
    }
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11KeyboardMappingWatcher::~X11KeyboardMappingWatcher() {
    if (auto* application = QCoreApplication::instance()) {
        application->removeNativeEventFilter(this);
    }
}

bool X11KeyboardMappingWatcher::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const std::uint8_t type = event->response_type & eventTypeMask;
    if (type == XCB_MAPPING_NOTIFY) {
        if (reinterpret_cast<const xcb_mapping_notify_event_t*>(event)->request != XCB_MAPPING_POINTER) {
            changed_();
        }
    } else if (xkbEventBase_ != 0 && type == xkbEventBase_) {
        // Every XKB event shares one type; the second byte tells which one it is.
        const std::uint8_t xkbType = reinterpret_cast<const xcb_xkb_map_notify_event_t*>(event)->xkbType;
        if (xkbType == XCB_XKB_NEW_KEYBOARD_NOTIFY || xkbType == XCB_XKB_MAP_NOTIFY) {
            changed_();
        }
    }
    // Qt keeps its own keymap up to date from the same events.
    return false;
}

} // namespace driftmark
