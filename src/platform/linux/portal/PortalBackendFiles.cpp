#include "platform/linux/portal/PortalBackendFiles.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <optional>
#include <system_error>

namespace driftmark {

namespace {

const std::string shortcutsInterface = "org.freedesktop.impl.portal.GlobalShortcuts";
// Files of a few hundred bytes; anything far larger is not one of them.
constexpr std::uintmax_t largestFile = 1 << 20;

using Group = std::map<std::string, std::string>;
using KeyFile = std::map<std::string, Group>;

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string lowered(std::string text) {
    std::ranges::transform(text, text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size()) {
        const auto end = std::min(text.find(separator, start), text.size());
        if (std::string part = trimmed(text.substr(start, end - start)); !part.empty()) {
            parts.push_back(std::move(part));
        }
        start = end + 1;
    }
    return parts;
}

// A freedesktop key file: [groups] of key=value lines, # comments. Absent when it cannot be read.
std::optional<KeyFile> readKeyFile(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error) ||
        std::filesystem::file_size(path, error) > largestFile || error) {
        return std::nullopt;
    }
    std::ifstream in(path);
    if (!in) {
        return std::nullopt;
    }
    KeyFile file;
    Group* group = nullptr;
    std::string line;
    while (std::getline(in, line)) {
        line = trimmed(line);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        if (line.front() == '[' && line.back() == ']') {
            group = &file[line.substr(1, line.size() - 2)];
        } else if (const auto equals = line.find('='); group != nullptr && equals != std::string::npos) {
            (*group)[trimmed(line.substr(0, equals))] = trimmed(line.substr(equals + 1));
        }
    }
    return file;
}

std::string valueOf(const KeyFile& file, const std::string& group, const std::string& key) {
    const auto found = file.find(group);
    if (found == file.end()) {
        return {};
    }
    const auto value = found->second.find(key);
    return value == found->second.end() ? std::string() : value->second;
}

struct Backend {
    std::vector<std::string> interfaces;
    std::vector<std::string> useIn;

    bool implementsShortcuts() const {
        return std::ranges::find(interfaces, shortcutsInterface) != interfaces.end();
    }
};

// The backends by name (the .portal file's name without the extension).
std::map<std::string, Backend> readBackends(const std::vector<std::filesystem::path>& folders) {
    std::map<std::string, Backend> backends;
    for (const auto& folder : folders) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
            const auto& path = entry.path();
            if (path.extension() != ".portal" || backends.contains(path.stem().string())) {
                continue;
            }
            if (const auto file = readKeyFile(path)) {
                backends[path.stem().string()] = {split(valueOf(*file, "portal", "Interfaces"), ';'),
                                                  split(valueOf(*file, "portal", "UseIn"), ';')};
            }
        }
    }
    return backends;
}

std::optional<KeyFile> portalConfiguration(const PortalBackendFiles& files) {
    for (const auto& folder : files.configFolders) {
        for (const auto& desktop : files.desktops) {
            if (auto file = readKeyFile(folder / (lowered(desktop) + "-portals.conf"))) {
                return file;
            }
        }
        if (auto file = readKeyFile(folder / "portals.conf")) {
            return file;
        }
    }
    return std::nullopt;
}

std::vector<std::filesystem::path> pathList(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    std::vector<std::filesystem::path> paths;
    for (const auto& part : split(value != nullptr && *value != '\0' ? value : fallback, ':')) {
        paths.emplace_back(part);
    }
    return paths;
}

} // namespace

PortalBackendFiles PortalBackendFiles::fromEnvironment() {
    PortalBackendFiles files;
    const char* desktops = std::getenv("XDG_CURRENT_DESKTOP");
    files.desktops = split(desktops != nullptr ? desktops : "", ':');

    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    if (configHome != nullptr && *configHome != '\0') {
        files.configFolders.emplace_back(std::filesystem::path(configHome) / "xdg-desktop-portal");
    } else if (home != nullptr && *home != '\0') {
        files.configFolders.emplace_back(std::filesystem::path(home) / ".config" / "xdg-desktop-portal");
    }
    for (const auto& folder : pathList("XDG_CONFIG_DIRS", "/etc/xdg")) {
        files.configFolders.push_back(folder / "xdg-desktop-portal");
    }
    files.configFolders.emplace_back("/etc/xdg-desktop-portal");
    const auto dataFolders = pathList("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
    for (const auto& folder : dataFolders) {
        files.configFolders.push_back(folder / "xdg-desktop-portal");
    }

    // The portal's own override of where its backends are described.
    if (const char* portals = std::getenv("XDG_DESKTOP_PORTAL_DIR"); portals != nullptr && *portals != '\0') {
        files.portalFolders.emplace_back(portals);
    } else {
        for (const auto& folder : dataFolders) {
            files.portalFolders.push_back(folder / "xdg-desktop-portal" / "portals");
        }
    }
    return files;
}

bool PortalBackendFiles::offerGlobalShortcuts() const {
    const auto backends = readBackends(portalFolders);
    const auto implemented = [&backends](const std::string& name) {
        const auto found = backends.find(name);
        return found != backends.end() && found->second.implementsShortcuts();
    };
    const bool anyImplements =
        std::ranges::any_of(backends, [](const auto& named) { return named.second.implementsShortcuts(); });
    if (const auto configuration = portalConfiguration(*this)) {
        std::string chosen = valueOf(*configuration, "preferred", shortcutsInterface);
        if (chosen.empty()) {
            chosen = valueOf(*configuration, "preferred", "default");
        }
        if (!chosen.empty()) {
            // The first name that is not "none" and names a backend that implements it wins; "*" is any.
            for (const auto& name : split(chosen, ';')) {
                if (name == "none") {
                    return false;
                }
                if ((name == "*" && anyImplements) || implemented(name)) {
                    return true;
                }
            }
            return false;
        }
    }
    // Without a choice in the configuration, the backends say which desktops they serve.
    return std::ranges::any_of(backends, [this](const auto& named) {
        const Backend& backend = named.second;
        return backend.implementsShortcuts() && std::ranges::any_of(backend.useIn, [this](const auto& useIn) {
                   return std::ranges::any_of(desktops, [&useIn](const auto& desktop) {
                       return lowered(desktop) == lowered(useIn);
                   });
               });
    });
}

} // namespace driftmark
