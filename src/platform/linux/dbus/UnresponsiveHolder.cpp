#include "platform/linux/dbus/UnresponsiveHolder.h"

#include "platform/linux/dbus/RelaunchCommand.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <poll.h>
#include <string>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace driftmark {

namespace {

// Through syscall(): glibc 2.36 declares its wrappers without C linkage for C++.
int openProcess(pid_t pid) {
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
}

int signalProcess(int process, int signal) {
    return static_cast<int>(::syscall(SYS_pidfd_send_signal, process, signal, nullptr, 0));
}

// Waits for the process behind `process` to end; true when it has.
bool endsWithin(int process, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    pollfd watch = {process, POLLIN, 0};
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        const int ready =
            ::poll(&watch, 1, static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0)));
        if (ready >= 0 || errno != EINTR) {
            return ready > 0;
        }
    }
}

std::string executablePath(const std::string& link) {
    std::error_code error;
    const auto target = std::filesystem::read_symlink(link, error);
    return error ? std::string() : relaunchProgram(target.string());
}

} // namespace

bool UnresponsiveHolder::runsThisProgram(pid_t pid) {
    const std::string process = "/proc/" + std::to_string(pid);
    struct stat owner = {};
    if (::stat(process.c_str(), &owner) != 0 || owner.st_uid != ::geteuid()) {
        return false;
    }
    struct stat theirs = {};
    struct stat ours = {};
    if (::stat((process + "/exe").c_str(), &theirs) == 0 && ::stat("/proc/self/exe", &ours) == 0 &&
        theirs.st_dev == ours.st_dev && theirs.st_ino == ours.st_ino) {
        return true;
    }
    const std::string path = executablePath(process + "/exe");
    return !path.empty() && path == executablePath("/proc/self/exe");
}

UnresponsiveHolder::Outcome UnresponsiveHolder::end(pid_t pid, std::chrono::milliseconds grace) {
    // The descriptor stays with the process found, whatever later takes its PID.
    const int process = openProcess(pid);
    if (process < 0) {
        return errno == ESRCH ? Outcome::gone : Outcome::notThisProgram;
    }
    Outcome outcome = Outcome::notThisProgram;
    // The check read /proc/<pid>: it was about the process found as long as that still runs after it.
    if (runsThisProgram(pid) && signalProcess(process, 0) == 0) {
        if (signalProcess(process, SIGTERM) == 0 && endsWithin(process, grace)) {
            outcome = Outcome::ended;
        } else if (signalProcess(process, SIGKILL) == 0 || errno == ESRCH) {
            outcome = endsWithin(process, grace) ? Outcome::killed : Outcome::stays;
        } else {
            outcome = Outcome::stays;
        }
    } else if (signalProcess(process, 0) != 0 && errno == ESRCH) {
        outcome = Outcome::gone;
    }
    ::close(process);
    return outcome;
}

} // namespace driftmark
