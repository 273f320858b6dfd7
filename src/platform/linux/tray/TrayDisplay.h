#pragma once

#include <xcb/xcb.h>

namespace driftmark {

// The atoms that tray icons use.
struct TrayAtoms {
    xcb_atom_t traySelection = XCB_ATOM_NONE; // _NET_SYSTEM_TRAY_S<screen>
    xcb_atom_t trayOpcode = XCB_ATOM_NONE;
    xcb_atom_t trayVisual = XCB_ATOM_NONE;
    xcb_atom_t manager = XCB_ATOM_NONE;
    xcb_atom_t xembed = XCB_ATOM_NONE;
    xcb_atom_t xembedInfo = XCB_ATOM_NONE;
    xcb_atom_t netWmName = XCB_ATOM_NONE;
    xcb_atom_t utf8String = XCB_ATOM_NONE;
};

// Qt's X connection, the screen whose tray the icons dock into, and the atoms.
struct TrayDisplay {
    xcb_connection_t* connection = nullptr;
    xcb_screen_t* screen = nullptr;
    int screenNumber = 0;
    TrayAtoms atoms;

    // Needs a running QGuiApplication on the xcb platform.
    static TrayDisplay fromApplication();
};

} // namespace driftmark
