#pragma once

#include <string>

namespace driftmark {

// What a Wayland desktop's compositor offers Driftmark's own connection, and where Qt draws.
struct WaylandOffer {
    bool reachable = false;  // the compositor named by WAYLAND_DISPLAY answered
    bool clipboard = false;  // data control
    bool keystrokes = false; // virtual keyboards, or KWin's fake input
    bool windows = false;    // the list of its windows (foreign-toplevel management)
    bool native = false;     // Driftmark runs as a Wayland client, not through XWayland
    bool shortcuts = false;  // the desktop's portal offers global shortcuts (to a Wayland client)
};

// What the user of a Wayland desktop needs to know at start-up and in the settings window: what its
// compositor lacks of that, if anything (GNOME's offers none of it), what Driftmark does instead, and how
// global shortcuts reach it there where the desktop's portal does not take them.
inline std::string waylandShortfall(const WaylandOffer& offer) {
    const bool lacks = !offer.reachable || !offer.clipboard || !offer.keystrokes || !offer.windows;
    std::string notice;
    if (!offer.reachable) {
        notice = offer.native ? "Driftmark cannot open a connection of its own to the Wayland compositor."
                              : "Driftmark cannot reach the Wayland compositor named by WAYLAND_DISPLAY; it "
                                "works through XWayland instead.";
    } else if (lacks) {
        notice = offer.native ? "This Wayland compositor does not offer everything Driftmark uses."
                              : "This Wayland compositor does not offer everything Driftmark uses; it works "
                                "through XWayland instead.";
    }
    if (!offer.reachable || !offer.clipboard) {
        notice += offer.native ? " No data-control protocol: copies reach other applications only while a "
                                 "Driftmark window has the focus (start Driftmark with --display-server x11 "
                                 "to copy through XWayland)."
                               : " No data-control protocol: copies go to the X11 clipboard, which Wayland "
                                 "windows receive only while an XWayland window has the focus.";
    }
    if (!offer.reachable || !offer.keystrokes) {
        notice += offer.native
                      ? " No virtual keyboard (nor KDE's fake input): Smart Paste only copies."
                      : " No virtual keyboard (nor KDE's fake input): Smart Paste types only into XWayland "
                        "windows (through XTEST); into a Wayland window it only copies.";
    }
    if (!offer.reachable || !offer.windows) {
        notice += offer.native ? " No list of windows: Smart Paste cannot bring the window you were in back "
                                 "to the front."
                               : " No list of windows: Smart Paste cannot bring a Wayland window back to the "
                                 "front.";
    }
    if (offer.native && offer.shortcuts) {
        return notice;
    }
    if (!notice.empty()) {
        notice += ' ';
    }
    if (offer.native) {
        // Said in few words: on a desktop that lacks nothing else, this is all there is to say.
        notice +=
            "No global-shortcuts portal: for an entry's shortcut, bind `driftmark-menubar --paste N` in "
            "the compositor (see the README).";
        return notice;
    }
    notice +=
        "Global shortcuts reach Driftmark through XWayland, only while an XWayland window has the focus: "
        "to use an entry's shortcut everywhere, bind `driftmark-menubar --paste N` (N being the entry's "
        "position) in the compositor's own key bindings, in sway for example "
        "`bindsym Ctrl+Shift+u exec driftmark-menubar --paste 1`.";
    return notice;
}

} // namespace driftmark
