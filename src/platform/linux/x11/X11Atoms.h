#pragma once

#include <xcb/xcb.h>

namespace driftmark {

// The atoms this process names on the X server besides those of EWMH. Atoms belong to the server, so
// they hold on every connection to it.
struct X11Atoms {
    xcb_atom_t traySelection = XCB_ATOM_NONE; // _NET_SYSTEM_TRAY_S<screen>
    xcb_atom_t trayOpcode = XCB_ATOM_NONE;
    xcb_atom_t trayVisual = XCB_ATOM_NONE;
    xcb_atom_t xembedInfo = XCB_ATOM_NONE;
    // The property whose changes tell the server's time.
    xcb_atom_t timestamp = XCB_ATOM_NONE;
    // Also interned for EWMH; absent when its atoms could not be.
    xcb_atom_t manager = XCB_ATOM_NONE;
    xcb_atom_t netWmName = XCB_ATOM_NONE;
    xcb_atom_t utf8String = XCB_ATOM_NONE;
};

} // namespace driftmark
