#pragma once

#include <charconv>
#include <climits>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

// What the environment says about finding and replacing the running Driftmark; free of Qt so that it can
// be tested alone.
namespace driftmark {

// Set by QtApplication::relaunch() in the environment of the process it starts: the PID of the Driftmark
// that the new one replaces. The new process waits (a few seconds at most) for that one to quit before it
// takes the session, and removes the variable so that nothing it starts inherits it.
inline constexpr const char* replacesPidVariable = "DRIFTMARK_REPLACES_PID";

// The process named by the variable's value: a positive decimal PID other than this process's own.
inline std::optional<pid_t> replacedProcess(const char* value, pid_t self) {
    if (value == nullptr) {
        return std::nullopt;
    }
    const std::string_view text(value);
    long long pid = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), pid);
    if (error != std::errc() || end != text.data() + text.size() || pid <= 0 || pid > INT_MAX ||
        pid == self) {
        return std::nullopt;
    }
    return static_cast<pid_t>(pid);
}

// Whether DBUS_SESSION_BUS_ADDRESS names a bus at all. Without it libdbus could spawn a bus of its own
// through X11, which would outlive us; "disabled:" is how a caller says there is none.
inline bool sessionBusConfigured(const char* address) {
    return address != nullptr && *address != '\0' && !std::string_view(address).starts_with("disabled:");
}

// The lock file used where there is no session bus: in the private runtime directory, or, without one, a
// per-user name in /tmp (not $TMPDIR, so that every start of the same user agrees on it).
inline std::string lockFilePath(const char* runtimeDirectory, uid_t uid) {
    if (runtimeDirectory != nullptr && runtimeDirectory[0] == '/') {
        std::string path(runtimeDirectory);
        if (!path.ends_with('/')) {
            path += '/';
        }
        return path + "driftmark-menubar.lock";
    }
    return "/tmp/driftmark-menubar-" + std::to_string(uid) + ".lock";
}

} // namespace driftmark
