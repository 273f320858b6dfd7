#include "platform/linux/tray/TrayDisplay.h"

#include "platform/linux/x11/X11Connection.h"

#include <QGuiApplication>
#include <array>
#include <cstdlib>
#include <string>

namespace driftmark {

namespace {

// Qt connects to the default screen of $DISPLAY; the tray selection is per screen.
int defaultScreenNumber(xcb_connection_t* connection) {
    int display = 0;
    int screen = 0;
    char* host = nullptr;
    if (xcb_parse_display(std::getenv("DISPLAY"), &host, &display, &screen) == 0) {
        screen = 0;
    }
    std::free(host);
    return screen < xcb_setup_roots_length(xcb_get_setup(connection)) ? screen : 0;
}

TrayAtoms internAtoms(xcb_connection_t* connection, int screenNumber) {
    const std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(screenNumber);
    const std::array<std::string, 8> names = {selection,
                                              "_NET_SYSTEM_TRAY_OPCODE",
                                              "_NET_SYSTEM_TRAY_VISUAL",
                                              "MANAGER",
                                              "_XEMBED",
                                              "_XEMBED_INFO",
                                              "_NET_WM_NAME",
                                              "UTF8_STRING"};
    std::array<xcb_intern_atom_cookie_t, 8> cookies{};
    for (std::size_t index = 0; index < names.size(); ++index) {
        cookies[index] = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(names[index].size()),
                                         names[index].c_str());
    }
    std::array<xcb_atom_t, 8> atoms{};
    for (std::size_t index = 0; index < names.size(); ++index) {
        if (auto* reply = xcb_intern_atom_reply(connection, cookies[index], nullptr)) {
            atoms[index] = reply->atom;
            std::free(reply);
        }
    }
    return {atoms[0], atoms[1], atoms[2], atoms[3], atoms[4], atoms[5], atoms[6], atoms[7]};
}

} // namespace

TrayDisplay TrayDisplay::fromApplication() {
    TrayDisplay display;
    if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
        display.connection = x11->connection();
    }
    if (display.connection == nullptr) {
        return display;
    }
    display.screenNumber = defaultScreenNumber(display.connection);
    display.screen = screenNumbered(display.connection, display.screenNumber);
    display.atoms = internAtoms(display.connection, display.screenNumber);
    return display;
}

} // namespace driftmark
