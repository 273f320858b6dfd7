#include "platform/linux/SessionDisplay.h"

#include "platform/linux/wayland/CompositorGlobals.h"

#include <cstdlib>
#include <xcb/xcb.h>

namespace driftmark {

namespace {

const std::string advice = " Driftmark needs an X11 display or a Wayland compositor; `make run` starts a "
                           "private virtual desktop.";

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

} // namespace

SessionDisplay SessionDisplay::choose(const std::function<void(const std::string&)>& warn) {
    const std::string chosen = environment("DRIFTMARK_DISPLAY_SERVER");
    auto preference = parseDisplayServerPreference(chosen);
    if (!preference) {
        warn("DRIFTMARK_DISPLAY_SERVER must be \"x11\" or \"wayland\", not \"" + chosen +
             "\"; choosing the display server by the session");
        preference = DisplayServerPreference::automatic;
    }
    const std::string compositor = environment("WAYLAND_DISPLAY");
    DisplaySession session{.x11 = !environment("DISPLAY").empty(), .wayland = !compositor.empty()};
    std::optional<CompositorGlobals> globals;
    std::string unreachable;
    if (session.wayland && *preference != DisplayServerPreference::x11) {
        globals = CompositorGlobals::ask(unreachable);
        session.compositorControlsClipboard = globals && globals->offers("zwlr_data_control_manager_v1");
    }

    SessionDisplay display;
    display.server_ = displayServerFor(*preference, session);
    if (display.server_ == DisplayServer::x11) {
        display.problem_ = x11Problem();
    } else if (!session.wayland) {
        display.problem_ = "no Wayland compositor (WAYLAND_DISPLAY is not set)." + advice;
    } else if (!globals) {
        display.problem_ = "cannot reach the Wayland compositor \"" + compositor +
                           "\" named by WAYLAND_DISPLAY: " + unreachable + "." + advice;
    }
    return display;
}

std::optional<std::string> SessionDisplay::x11Problem() {
    const std::string display = environment("DISPLAY");
    if (display.empty()) {
        return "no X11 display (DISPLAY is not set)." + advice;
    }
    // Qt aborts on a display it cannot open, with advice to reinstall it; one connection first tells
    // what is really wrong.
    xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
    const int error = xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    if (error == 0) {
        return std::nullopt;
    }
    const char* reason = error == XCB_CONN_CLOSED_PARSE_ERR        ? "that is not the name of a display"
                         : error == XCB_CONN_CLOSED_INVALID_SCREEN ? "the display has no such screen"
                                                                   : "no X server accepts connections there";
    return "cannot open the X11 display \"" + display + "\" named by DISPLAY: " + reason + "." + advice;
}

} // namespace driftmark
