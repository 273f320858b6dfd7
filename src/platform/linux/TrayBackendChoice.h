#pragma once

#include <optional>
#include <string_view>

namespace driftmark {

// Which protocol shows the status items: StatusNotifierItem over D-Bus, or XEmbed icons in an X11 tray.
enum class TrayBackend { xembed, statusNotifier };

// What the user asks for in DRIFTMARK_TRAY: nothing (automatic), "xembed" or "sni".
enum class TrayPreference { automatic, xembed, statusNotifier };

// Absent for a value that names neither.
inline std::optional<TrayPreference> parseTrayPreference(std::string_view value) {
    if (value.empty()) {
        return TrayPreference::automatic;
    }
    if (value == "xembed") {
        return TrayPreference::xembed;
    }
    if (value == "sni") {
        return TrayPreference::statusNotifier;
    }
    return std::nullopt;
}

// StatusNotifierItem wherever a watcher runs, XEmbed otherwise, unless the user chose one; a chosen
// StatusNotifierItem waits for a watcher.
inline TrayBackend trayBackendFor(TrayPreference preference, bool watcherPresent) {
    switch (preference) {
    case TrayPreference::xembed:
        return TrayBackend::xembed;
    case TrayPreference::statusNotifier:
        return TrayBackend::statusNotifier;
    case TrayPreference::automatic:
        break;
    }
    return watcherPresent ? TrayBackend::statusNotifier : TrayBackend::xembed;
}

} // namespace driftmark
