#pragma once

#include <string>

namespace driftmark {

// What a Wayland desktop's compositor offers Driftmark's own connection.
struct WaylandOffer {
    bool reachable = false;  // the compositor named by WAYLAND_DISPLAY answered
    bool clipboard = false;  // data control
    bool keystrokes = false; // virtual keyboards
    bool windows = false;    // the list of its windows (foreign-toplevel management)
};

// What the user of a Wayland desktop needs to know at start-up: what its compositor lacks of that, if
// anything (GNOME's offers none of it), and what Driftmark does instead, through XWayland; and, since
// global shortcuts go through XWayland whatever the compositor offers, how to bind an entry in the
// compositor itself.
inline std::string waylandShortfall(const WaylandOffer& offer) {
    std::string notice;
    if (!offer.reachable) {
        notice = "Driftmark cannot reach the Wayland compositor named by WAYLAND_DISPLAY; it works through "
                 "XWayland instead.";
    } else if (!offer.clipboard || !offer.keystrokes || !offer.windows) {
        notice =
            "This Wayland compositor does not offer everything Driftmark uses; it works through XWayland "
            "instead.";
    }
    if (!offer.reachable || !offer.clipboard) {
        notice +=
            " No data-control protocol: copies go to the X11 clipboard, which Wayland windows receive only "
            "while an XWayland window has the focus.";
    }
    if (!offer.reachable || !offer.keystrokes) {
        notice +=
            " No virtual keyboard: Smart Paste types only into XWayland windows (through XTEST); into a "
            "Wayland window it only copies.";
    }
    if (!offer.reachable || !offer.windows) {
        notice += " No list of windows: Smart Paste cannot bring a Wayland window back to the front.";
    }
    if (!notice.empty()) {
        notice += ' ';
    }
    notice +=
        "Global shortcuts reach Driftmark through XWayland, only while an XWayland window has the focus: "
        "to use an entry's shortcut everywhere, bind `driftmark-menubar --paste N` (N being the entry's "
        "position) in the compositor's own key bindings, in sway for example "
        "`bindsym Ctrl+Shift+u exec driftmark-menubar --paste 1`.";
    return notice;
}

} // namespace driftmark
