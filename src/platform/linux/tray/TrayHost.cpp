#include "platform/linux/tray/TrayHost.h"

#include "platform/linux/x11/XcbReply.h"

#include <cstring>

namespace driftmark {

namespace {

constexpr std::uint32_t systemTrayRequestDock = 0;

// Adds the structure events of `window` to what this client already selects there (Qt selects some on
// the root window, and replacing its mask would take them away).
bool watchStructure(xcb_connection_t* connection, xcb_window_t window) {
    const XcbReply<xcb_get_window_attributes_reply_t> attributes(
        xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr));
    if (!attributes) {
        return false;
    }
    const std::uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    const XcbReply<xcb_generic_error_t> error(xcb_request_check(
        connection, xcb_change_window_attributes_checked(connection, window, XCB_CW_EVENT_MASK, &mask)));
    return error == nullptr;
}

std::uint8_t depthOf(const xcb_screen_t& screen, xcb_visualid_t visual) {
    for (auto depths = xcb_screen_allowed_depths_iterator(&screen); depths.rem > 0; xcb_depth_next(&depths)) {
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem > 0;
             xcb_visualtype_next(&visuals)) {
            if (visuals.data->visual_id == visual) {
                return depths.data->depth;
            }
        }
    }
    return 0;
}

} // namespace

TrayHost::TrayHost(const X11Context& x11, std::function<void()> managerChanged)
    : x11_(x11)
    , managerChanged_(std::move(managerChanged)) {
    watchStructure(x11_.connection(), x11_.root());
    adopt(currentOwner());
}

void TrayHost::requestDock(xcb_window_t icon) const {
    if (!manager_) {
        return;
    }
    xcb_client_message_event_t message{};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = manager_->window;
    message.type = x11_.atoms().trayOpcode;
    message.data.data32[0] = XCB_CURRENT_TIME;
    message.data.data32[1] = systemTrayRequestDock;
    message.data.data32[2] = icon;
    xcb_send_event(x11_.connection(), 0, manager_->window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(x11_.connection());
}

void TrayHost::handleEvent(const xcb_generic_event_t* event) {
    switch (event->response_type & ~0x80) {
    case XCB_CLIENT_MESSAGE: {
        const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
        if (message->window == x11_.root() && message->type == x11_.atoms().manager &&
            message->data.data32[1] == x11_.atoms().traySelection) {
            const auto before = manager_;
            adopt(message->data.data32[2]);
            if (manager_ != before) {
                managerChanged_();
            }
        }
        break;
    }
    case XCB_DESTROY_NOTIFY: {
        const auto* destroyed = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
        if (manager_ && destroyed->window == manager_->window) {
            manager_.reset();
            // A replacing tray may already own the selection; otherwise its MANAGER message follows.
            adopt(currentOwner());
            managerChanged_();
        }
        break;
    }
    default:
        break;
    }
}

void TrayHost::adopt(xcb_window_t owner) {
    manager_ = owner == XCB_WINDOW_NONE ? std::nullopt : describe(owner);
}

// Reads the manager's visual; a window that vanished on the way is no manager.
std::optional<TrayManager> TrayHost::describe(xcb_window_t window) const {
    if (!watchStructure(x11_.connection(), window)) {
        return std::nullopt;
    }
    TrayManager manager{window, x11_.screen().root_visual, x11_.screen().root_depth, false};
    const XcbReply<xcb_get_property_reply_t> property(xcb_get_property_reply(
        x11_.connection(),
        xcb_get_property(x11_.connection(), 0, window, x11_.atoms().trayVisual, XCB_ATOM_VISUALID, 0, 1),
        nullptr));
    if (property && property->format == 32 && xcb_get_property_value_length(property.get()) >= 4) {
        xcb_visualid_t visual = 0;
        std::memcpy(&visual, xcb_get_property_value(property.get()), sizeof visual);
        if (const auto depth = depthOf(x11_.screen(), visual); depth != 0) {
            manager = TrayManager{window, visual, depth, depth == 32};
        }
    }
    return manager;
}

xcb_window_t TrayHost::currentOwner() const {
    const XcbReply<xcb_get_selection_owner_reply_t> reply(xcb_get_selection_owner_reply(
        x11_.connection(), xcb_get_selection_owner(x11_.connection(), x11_.atoms().traySelection), nullptr));
    return reply ? reply->owner : xcb_window_t{XCB_WINDOW_NONE};
}

} // namespace driftmark
