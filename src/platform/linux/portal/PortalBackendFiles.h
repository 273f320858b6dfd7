#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace driftmark {

// Where the desktop portal (xdg-desktop-portal) looks for what chooses its backends, and the desktop it
// chooses them for.
struct PortalBackendFiles {
    // The names in XDG_CURRENT_DESKTOP, in order.
    std::vector<std::string> desktops;
    // Folders that may hold DESKTOP-portals.conf or portals.conf, searched in order; the first file found
    // is the one the portal reads.
    std::vector<std::filesystem::path> configFolders;
    // Folders of the backends' NAME.portal files; a name found in an earlier folder hides later ones.
    std::vector<std::filesystem::path> portalFolders;

    // As the portal finds them in this process's environment (the XDG base directories).
    static PortalBackendFiles fromEnvironment();

    // Whether the portal, once started, would hand GlobalShortcuts to a backend meant for this desktop:
    // the one its configuration names, or else one whose .portal file lists this desktop under UseIn. A
    // backend the portal would only fall back to, made for another desktop, refuses the calls.
    bool offerGlobalShortcuts() const;
};

} // namespace driftmark
