#pragma once

#include <optional>
#include <string_view>

namespace driftmark {

// Where Qt draws and which services Driftmark uses: the X11 ones (also through XWayland), or native
// Wayland ones.
enum class DisplayServer { x11, wayland };

// What the user asks for in DRIFTMARK_DISPLAY_SERVER: nothing (automatic), "x11" or "wayland".
enum class DisplayServerPreference { automatic, x11, wayland };

// What the session offers, as far as the automatic choice needs it.
struct DisplaySession {
    bool x11 = false;     // DISPLAY names a display
    bool wayland = false; // WAYLAND_DISPLAY names a compositor
    // The compositor answered and lets Driftmark control the clipboard (data control). Without that a
    // native Wayland client cannot copy while none of its windows has the focus, which is always the case
    // after a click on a disc; through XWayland it can.
    bool compositorControlsClipboard = false;
};

// Absent for a value that names neither.
inline std::optional<DisplayServerPreference> parseDisplayServerPreference(std::string_view value) {
    if (value.empty()) {
        return DisplayServerPreference::automatic;
    }
    if (value == "x11") {
        return DisplayServerPreference::x11;
    }
    if (value == "wayland") {
        return DisplayServerPreference::wayland;
    }
    return std::nullopt;
}

// Native Wayland where the compositor lets Driftmark copy, XWayland where it does not and XWayland runs,
// X11 outside a Wayland session; unless the user chose one.
inline DisplayServer displayServerFor(DisplayServerPreference preference, const DisplaySession& session) {
    switch (preference) {
    case DisplayServerPreference::x11:
        return DisplayServer::x11;
    case DisplayServerPreference::wayland:
        return DisplayServer::wayland;
    case DisplayServerPreference::automatic:
        break;
    }
    if (!session.wayland) {
        return DisplayServer::x11;
    }
    return session.compositorControlsClipboard || !session.x11 ? DisplayServer::wayland : DisplayServer::x11;
}

} // namespace driftmark
