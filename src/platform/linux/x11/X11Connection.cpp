#include "platform/linux/x11/X11Connection.h"

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

xcb_screen_t* screenNumbered(xcb_connection_t* connection, int number) {
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int skip = 0; skip < number && screens.rem > 0; ++skip) {
        xcb_screen_next(&screens);
    }
    return number >= 0 && screens.rem > 0 ? screens.data : nullptr;
}

} // namespace driftmark
