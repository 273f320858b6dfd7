#pragma once

#include "platform/LoginItemService.h"

#include <filesystem>

namespace driftmark {

// The login item as an XDG autostart entry, $XDG_CONFIG_HOME/autostart/driftmark-menubar.desktop, that
// starts the given executable. The location is taken from the environment at construction.
//
// Two programs start autostart entries: GLib's (GNOME, Xfce, LXQt, ...) and systemd's generator, which
// turns each entry into a user service. Neither runs every path the entry format can spell: GLib looks
// for the program before it undoes a doubled '%', and systemd unescapes a backslash once more than the
// format says and refuses quotes, '$' and '`' (which it escapes with a backslash) and control characters
// in a service's executable. Entries are UTF-8, so other bytes cannot be written at all. For such a path
// the entry starts a launcher script beside the preferences, which runs the executable; when the
// launcher's own path cannot be named either, registering fails and writes nothing.
class XdgAutostartEntry final : public LoginItemService {
public:
    // For the running executable.
    XdgAutostartEntry();
    explicit XdgAutostartEntry(std::filesystem::path executable);

    // An entry the user switched off in the desktop's settings (Hidden=true or
    // X-GNOME-Autostart-enabled=false) is there but not enabled; so is one that cannot be read, and one
    // that names the launcher while the launcher is gone.
    bool isEnabled() const override;
    // Writes the entry (and the launcher first, when one is needed) atomically, creating the directories
    // when needed.
    std::optional<std::string> registerItem() override;
    // Removes the entry and the launcher.
    std::optional<std::string> unregisterItem() override;

    const std::filesystem::path& file() const { return file_; }
    const std::filesystem::path& launcher() const { return launcher_; }

private:
    std::filesystem::path executable_;
    std::filesystem::path file_;
    std::filesystem::path launcher_;
};

} // namespace driftmark
