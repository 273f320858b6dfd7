#pragma once

#include "platform/LoginItemService.h"

#include <filesystem>

namespace driftmark {

// The login item as an XDG autostart entry, $XDG_CONFIG_HOME/autostart/driftmark-menubar.desktop, that
// starts the given executable. The location is taken from the environment at construction.
class XdgAutostartEntry final : public LoginItemService {
public:
    // For the running executable.
    XdgAutostartEntry();
    explicit XdgAutostartEntry(std::filesystem::path executable);

    // An entry the user switched off in the desktop's settings (Hidden=true or
    // X-GNOME-Autostart-enabled=false) is there but not enabled; so is one that cannot be read.
    bool isEnabled() const override;
    // Writes the entry atomically, creating the directory when needed.
    std::optional<std::string> registerItem() override;
    std::optional<std::string> unregisterItem() override;

    const std::filesystem::path& file() const { return file_; }

private:
    std::filesystem::path executable_;
    std::filesystem::path file_;
};

} // namespace driftmark
