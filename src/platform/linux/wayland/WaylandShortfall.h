#pragma once

#include <optional>
#include <string>

namespace driftmark {

// What a Wayland desktop's compositor offers Driftmark's own connection.
struct WaylandOffer {
    bool reachable = false;  // the compositor named by WAYLAND_DISPLAY answered
    bool clipboard = false;  // data control
    bool keystrokes = false; // virtual keyboards
    bool windows = false;    // the list of its windows (foreign-toplevel management)
};

// What the user of a Wayland desktop needs to know when its compositor lacks some of that (GNOME's offers
// none of it): what Driftmark does instead, through XWayland, and what does not work; absent when nothing
// is missing.
inline std::optional<std::string> waylandShortfall(const WaylandOffer& offer) {
    if (offer.reachable && offer.clipboard && offer.keystrokes && offer.windows) {
        return std::nullopt;
    }
    std::string notice = offer.reachable
                             ? "This Wayland compositor does not offer everything Driftmark uses; it "
                               "works through XWayland instead."
                             : "Driftmark cannot reach the Wayland compositor named by "
                               "WAYLAND_DISPLAY; it works through XWayland instead.";
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
    return notice;
}

} // namespace driftmark
