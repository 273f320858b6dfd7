#include "platform/linux/x11/X11PointerMonitor.h"

#include "platform/linux/x11/TrayReply.h"

#include <QGuiApplication>
#include <vector>
#include <xcb/xcb.h>

namespace driftmark {

std::optional<PointerMonitor::Handle>
X11PointerMonitor::addGlobalMouseMovedMonitor(std::function<void()> handler) {
    const Handle handle = nextHandle_++;
    handlers_.emplace(handle, std::move(handler));
    return handle;
}

void X11PointerMonitor::removeMonitor(Handle handle) {
    handlers_.erase(handle);
}

Point X11PointerMonitor::mouseLocation() const {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) {
        return {};
    }
    // Asked of the server in device pixels; QCursor would answer in Qt's scaled coordinates.
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const auto reply =
        trayReply(xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root), nullptr));
    if (!reply) {
        return {};
    }
    return {static_cast<double>(reply->root_x), static_cast<double>(reply->root_y)};
}

void X11PointerMonitor::pointerMoved() {
    // A handler may add or remove monitors; it works on a snapshot of the handles.
    std::vector<Handle> handles;
    handles.reserve(handlers_.size());
    for (const auto& entry : handlers_) {
        handles.push_back(entry.first);
    }
    for (const Handle handle : handles) {
        const auto found = handlers_.find(handle);
        if (found != handlers_.end()) {
            const auto handler = found->second;
            handler();
        }
    }
}

} // namespace driftmark
