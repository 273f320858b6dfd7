#include "support/XdgAutostartEntry.h"

#include "platform/SystemLog.h"
#include "support/AtomicFile.h"
#include "support/Paths.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace driftmark {

namespace {

constexpr std::string_view group = "[Desktop Entry]";

std::string failure(const std::filesystem::path& path, int code) {
    return path.string() + ": " + std::strerror(code);
}

std::filesystem::path runningExecutable() {
    std::error_code ignored;
    return std::filesystem::read_symlink("/proc/self/exe", ignored);
}

// The program path as one argument of an Exec value. Three layers of escaping apply, innermost first:
// the argument quoting (needed when a reserved character occurs), the field codes ('%' doubled) and
// the escapes of every string value ('\' doubled, control characters spelled out). A '$' inside
// quotes therefore ends up as "\\$" in the file.
std::string execValue(const std::string& executable) {
    constexpr std::string_view reserved = " \t\n\"'\\><~|&;$*?#`=()";
    std::string argument;
    if (executable.empty() || executable.find_first_of(reserved) != std::string::npos) {
        argument += '"';
        for (const char c : executable) {
            if (c == '"' || c == '`' || c == '$' || c == '\\') {
                argument += '\\';
            }
            argument += c;
        }
        argument += '"';
    } else {
        argument = executable;
    }
    std::string value;
    for (const char c : argument) {
        switch (c) {
        case '%':
            value += "%%";
            break;
        case '\\':
            value += "\\\\";
            break;
        case '\n':
            value += "\\n";
            break;
        case '\t':
            value += "\\t";
            break;
        case '\r':
            value += "\\r";
            break;
        default:
            value += c;
        }
    }
    return value;
}

std::string entryText(const std::filesystem::path& executable) {
    std::string text;
    text += std::string(group) + "\n";
    text += "Type=Application\n";
    text += "Name=Driftmark\n";
    text += "Comment=Short texts in the system tray, one click from the clipboard\n";
    text += "Icon=" + std::string(applicationId) + "\n";
    text += "Exec=" + execValue(executable.string()) + "\n";
    text += "X-GNOME-Autostart-enabled=true\n";
    return text;
}

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view blanks = " \t\r";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

} // namespace

XdgAutostartEntry::XdgAutostartEntry()
    : XdgAutostartEntry(runningExecutable()) {}

XdgAutostartEntry::XdgAutostartEntry(std::filesystem::path executable)
    : executable_(std::move(executable))
    , file_(configHome() / "autostart" / "driftmark-menubar.desktop") {}

bool XdgAutostartEntry::isEnabled() const {
    std::ifstream stream(file_);
    if (!stream) {
        return false;
    }
    // Only the keys of the main group count; a later group may use the same names for other things.
    bool inMainGroup = false;
    std::string line;
    while (std::getline(stream, line)) {
        const std::string_view content = trimmed(line);
        if (content.starts_with('[')) {
            inMainGroup = content == group;
            continue;
        }
        const auto equals = content.find('=');
        if (!inMainGroup || equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = trimmed(content.substr(0, equals));
        const std::string_view value = trimmed(content.substr(equals + 1));
        if ((key == "Hidden" && value == "true") ||
            (key == "X-GNOME-Autostart-enabled" && value == "false")) {
            return false;
        }
    }
    return true;
}

// Written atomically: a crash leaves the old entry or the new one, never half of one.
std::optional<std::string> XdgAutostartEntry::registerItem() {
    if (executable_.empty()) {
        return "the path of the running program is unknown";
    }
    if (const auto error = replaceFileAtomically(file_, entryText(executable_), 0644)) {
        return error->description();
    }
    return std::nullopt;
}

std::optional<std::string> XdgAutostartEntry::unregisterItem() {
    if (::unlink(file_.c_str()) != 0 && errno != ENOENT) {
        return failure(file_, errno);
    }
    return std::nullopt;
}

} // namespace driftmark
