#pragma once

#include "platform/linux/x11/X11Atoms.h"

#include <memory>
#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

namespace driftmark {

// What every X11 service of this process shares of Qt's X connection: the connection, the screen Qt
// opened (the tray selection and the active window are per screen), its root window, and the atoms, all
// interned in one round trip.
class X11Context {
public:
    // The context of Qt's connection, made the first time it is asked for; the QGuiApplication must exist
    // by then. Without X11 (Wayland, offscreen) it has no connection.
    static const X11Context& shared();

    explicit X11Context(xcb_connection_t* connection);
    ~X11Context();
    X11Context(const X11Context&) = delete;
    X11Context& operator=(const X11Context&) = delete;

    // Null without a connection; everything else is then empty.
    xcb_connection_t* connection() const { return connection_; }
    int screenNumber() const { return screenNumber_; }
    const xcb_screen_t& screen() const { return *screen_; }
    xcb_window_t root() const { return screen_ != nullptr ? screen_->root : xcb_window_t{XCB_WINDOW_NONE}; }
    const X11Atoms& atoms() const { return atoms_; }
    // The EWMH view of the connection for xcb-ewmh's requests; null when its atoms could not be interned.
    xcb_ewmh_connection_t* ewmh() const { return ewmh_.get(); }

private:
    struct EwmhRelease {
        void operator()(xcb_ewmh_connection_t* ewmh) const;
    };

    void internAtoms();

    xcb_connection_t* connection_ = nullptr;
    int screenNumber_ = 0;
    const xcb_screen_t* screen_ = nullptr;
    X11Atoms atoms_;
    std::unique_ptr<xcb_ewmh_connection_t, EwmhRelease> ewmh_;
};

} // namespace driftmark
