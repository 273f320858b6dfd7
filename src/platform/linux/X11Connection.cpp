#include "platform/linux/X11Connection.h"

#include <QGuiApplication>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

namespace driftmark {

xcb_connection_t* qtX11Connection() {
    if (qGuiApp == nullptr) {
        return nullptr;
    }
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

bool offersXTest(xcb_connection_t* connection) {
    if (connection == nullptr || xcb_connection_has_error(connection) != 0) {
        return false;
    }
    const auto* extension = xcb_get_extension_data(connection, &xcb_test_id);
    return extension != nullptr && extension->present != 0;
}

} // namespace driftmark
