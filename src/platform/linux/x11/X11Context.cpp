#include "platform/linux/x11/X11Context.h"

#include "platform/linux/x11/X11Connection.h"
#include "platform/linux/x11/XcbReply.h"

#include <array>
#include <string>

namespace driftmark {

namespace {

// Qt opens the screen that $DISPLAY names. A name without a screen, or with one the server does not have,
// stands for the first screen.
int defaultScreenNumber(xcb_connection_t* connection) {
    char* host = nullptr;
    int display = 0;
    int screen = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screen) == 0) {
        return 0;
    }
    const std::unique_ptr<char, XcbFree> hostName(host);
    return screen < xcb_setup_roots_length(xcb_get_setup(connection)) ? screen : 0;
}

struct AtomName {
    xcb_atom_t X11Atoms::*atom;
    std::string name;
};

} // namespace

const X11Context& X11Context::shared() {
    static const X11Context context(qtX11Connection());
    return context;
}

X11Context::X11Context(xcb_connection_t* connection) {
    if (connection == nullptr) {
        return;
    }
    const int screenNumber = defaultScreenNumber(connection);
    screen_ = screenNumbered(connection, screenNumber);
    if (screen_ == nullptr) {
        return;
    }
    connection_ = connection;
    screenNumber_ = screenNumber;
    internAtoms();
}

X11Context::~X11Context() = default;

void X11Context::EwmhRelease::operator()(xcb_ewmh_connection_t* ewmh) const {
    xcb_ewmh_connection_wipe(ewmh);
    delete ewmh;
}

// Every request goes out before the first reply is awaited: one round trip for all of them.
void X11Context::internAtoms() {
    const std::array<AtomName, 5> names{{
        {&X11Atoms::traySelection, "_NET_SYSTEM_TRAY_S" + std::to_string(screenNumber_)},
        {&X11Atoms::trayOpcode, "_NET_SYSTEM_TRAY_OPCODE"},
        {&X11Atoms::trayVisual, "_NET_SYSTEM_TRAY_VISUAL"},
        {&X11Atoms::xembedInfo, "_XEMBED_INFO"},
        {&X11Atoms::timestamp, "_DRIFTMARK_TIMESTAMP"},
    }};
    auto ewmh = std::make_unique<xcb_ewmh_connection_t>();
    xcb_intern_atom_cookie_t* ewmhCookies = xcb_ewmh_init_atoms(connection_, ewmh.get());
    std::array<xcb_intern_atom_cookie_t, names.size()> cookies{};
    for (std::size_t index = 0; index < names.size(); ++index) {
        const std::string& name = names[index].name;
        cookies[index] =
            xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(name.size()), name.c_str());
    }

    // On failure xcb-ewmh frees what it allocated itself.
    if (xcb_ewmh_init_atoms_replies(ewmh.get(), ewmhCookies, nullptr) != 0) {
        ewmh_.reset(ewmh.release());
        atoms_.manager = ewmh_->MANAGER;
        atoms_.netWmName = ewmh_->_NET_WM_NAME;
        atoms_.utf8String = ewmh_->UTF8_STRING;
    }
    for (std::size_t index = 0; index < names.size(); ++index) {
        if (const XcbReply<xcb_intern_atom_reply_t> reply(
                xcb_intern_atom_reply(connection_, cookies[index], nullptr));
            reply) {
            atoms_.*names[index].atom = reply->atom;
        }
    }
}

} // namespace driftmark
