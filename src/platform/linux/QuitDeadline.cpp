#include "platform/linux/QuitDeadline.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace driftmark {

QuitDeadline& QuitDeadline::install(std::chrono::milliseconds ceiling) {
    // Never destroyed: the watch must go on through the destructors of static objects, which may hang too.
    auto* const deadline = new QuitDeadline(ceiling);
    // Without a pipe (no descriptors left) there is no deadline, and start() changes nothing.
    if (::pipe2(deadline->wake_, O_CLOEXEC) == 0) {
        std::thread([deadline] { deadline->watch(); }).detach();
    }
    return *deadline;
}

QuitDeadline::QuitDeadline(std::chrono::milliseconds ceiling)
    : ceiling_(ceiling)
    , line_("driftmark-menubar: quitting took longer than " +
            std::to_string(std::chrono::duration_cast<std::chrono::seconds>(ceiling).count()) +
            " s; exiting without waiting for the rest\n") {}

void QuitDeadline::start() noexcept {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(wake_[1], &byte, 1);
}

void QuitDeadline::setExitStatus(int status) noexcept {
    exitStatus_ = status;
}

void QuitDeadline::watch() {
    char byte = 0;
    while (::read(wake_[0], &byte, 1) < 0 && errno == EINTR) {
    }
    std::this_thread::sleep_for(ceiling_);
    // Only what is safe while other threads may hold any lock: no stream, no allocation.
    [[maybe_unused]] const auto written = ::write(STDERR_FILENO, line_.data(), line_.size());
    ::_exit(exitStatus_.load());
}

} // namespace driftmark
