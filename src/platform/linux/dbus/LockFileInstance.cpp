#include "platform/linux/dbus/LockFileInstance.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <poll.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace driftmark {

LockFileInstance::LockFileInstance(std::string path)
    : path_(std::move(path)) {}

LockFileInstance::~LockFileInstance() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool LockFileInstance::open() {
    if (fd_ >= 0) {
        return true;
    }
    // Close-on-exec: a process we start (a relaunch above all) must not inherit the lock with the
    // descriptor and keep it after we are gone. No symbolic links: the file may be in the shared /tmp.
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) {
        giveUp(std::strerror(errno));
        return false;
    }
    struct stat status = {};
    if (::fstat(fd_, &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != ::geteuid()) {
        giveUp("it is not a file of this user");
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    return true;
}

bool LockFileInstance::tryAcquire() {
    if (!open()) {
        return true;
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
        return true;
    }
    if (errno == EWOULDBLOCK) {
        return false;
    }
    giveUp(std::strerror(errno));
    return true;
}

bool LockFileInstance::acquireAfter(pid_t pid, std::chrono::milliseconds timeout) {
    // A process descriptor becomes readable when the process has ended, after its files (and with them
    // its lock) are closed: one wait, no retries.
    const int process = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    if (process < 0) {
        return errno == ESRCH && tryAcquire();
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    pollfd watch = {process, POLLIN, 0};
    int ready = 0;
    for (;;) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        ready =
            ::poll(&watch, 1, static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0)));
        if (ready >= 0 || errno != EINTR) {
            break;
        }
    }
    ::close(process);
    return ready > 0 && tryAcquire();
}

void LockFileInstance::giveUp(const std::string& reason) {
    std::cerr << "driftmark-menubar: cannot use the lock file " << path_ << " (" << reason
              << "); starting without checking for another Driftmark" << std::endl;
}

} // namespace driftmark
