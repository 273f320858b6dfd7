#include "support/XdgAutostartEntry.h"

#include "platform/OutsideText.h"
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

// Whether both GLib and systemd's generator start the program at this path when an Exec line names it
// (see the class comment): UTF-8 without control characters, and none of the characters that one of them
// gets wrong however they are escaped.
bool startsFromExecLine(const std::string& path) {
    return !path.empty() && path.find_first_of("%\\\"'$`") == std::string::npos &&
           OutsideText::escaped(path) == path;
}

// A path that starts from the Exec line as its one argument: quoted when it holds a character the
// entry format reserves. The characters that would need escapes inside the quotes never get here.
std::string execValue(const std::string& executable) {
    constexpr std::string_view reserved = " ><~|&;*?#=()";
    if (executable.find_first_of(reserved) == std::string::npos) {
        return executable;
    }
    return '"' + executable + '"';
}

// The launcher runs the executable by its exact bytes: inside single quotes the shell takes every byte
// as it is but the quote itself, written as '\''.
std::string launcherText(const std::string& executable) {
    std::string quoted = "'";
    for (const char c : executable) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    quoted += "'";
    return "#!/bin/sh\n"
           "# Driftmark's autostart entry starts this script: its Exec line cannot name the program's path.\n"
           "exec " +
           quoted + "\n";
}

std::string entryText(const std::filesystem::path& started) {
    std::string text;
    text += std::string(group) + "\n";
    text += "Type=Application\n";
    text += "Name=Driftmark\n";
    text += "Comment=Short texts in the system tray, one click from the clipboard\n";
    text += "Icon=" + std::string(applicationId) + "\n";
    text += "Exec=" + execValue(started.string()) + "\n";
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
    , file_(configHome() / "autostart" / "driftmark-menubar.desktop")
    , launcher_(configHome() / "driftmark-menubar" / "start-at-login") {}

bool XdgAutostartEntry::isEnabled() const {
    std::ifstream stream(file_);
    if (!stream) {
        return false;
    }
    const bool launcherGone = ::access(launcher_.c_str(), X_OK) != 0;
    const std::string launcherExec = execValue(launcher_.string());
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
            (key == "X-GNOME-Autostart-enabled" && value == "false") ||
            (key == "Exec" && value == launcherExec && launcherGone)) {
            return false;
        }
    }
    return true;
}

// Written atomically: a crash leaves the old entry or the new one, never half of one. The launcher is
// written before the entry that names it.
std::optional<std::string> XdgAutostartEntry::registerItem() {
    if (executable_.empty()) {
        return "the path of the running program is unknown";
    }
    std::filesystem::path started = executable_;
    if (startsFromExecLine(executable_.string())) {
        // A launcher of an earlier registration would only be left lying there.
        ::unlink(launcher_.c_str());
    } else if (startsFromExecLine(launcher_.string())) {
        if (const auto error = replaceFileAtomically(launcher_, launcherText(executable_.string()), 0755)) {
            return error->description();
        }
        started = launcher_;
    } else {
        return "login cannot start a program from a path that holds '%', '\\', a quote, '$', '`', a control "
               "character or a byte that is not UTF-8, and both this program's path (" +
               OutsideText::excerpt(executable_.string()) + ") and its launcher's (" +
               OutsideText::excerpt(launcher_.string()) + ") do";
    }
    if (const auto error = replaceFileAtomically(file_, entryText(started), 0644)) {
        return error->description();
    }
    return std::nullopt;
}

std::optional<std::string> XdgAutostartEntry::unregisterItem() {
    for (const auto& path : {file_, launcher_}) {
        if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
            return failure(path, errno);
        }
    }
    return std::nullopt;
}

} // namespace driftmark
