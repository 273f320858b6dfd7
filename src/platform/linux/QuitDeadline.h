#pragma once

#include <atomic>
#include <chrono>
#include <string>

namespace driftmark {

// Bounds how long quitting may take. Once started, a thread of its own waits out the ceiling and then ends
// the process at once, whatever its other threads are doing (a window that hangs as it is torn down, a
// display server that no longer answers): a Driftmark that hangs at quit would keep the session's claim
// and keep every later start from running. Lives as long as the process.
class QuitDeadline {
public:
    // Starts the waiting thread; the countdown starts with start().
    static QuitDeadline& install(std::chrono::milliseconds ceiling);

    QuitDeadline(const QuitDeadline&) = delete;
    QuitDeadline& operator=(const QuitDeadline&) = delete;

    // Starts the countdown; later calls change nothing. Safe in a signal handler.
    void start() noexcept;
    // The status of an exit at the ceiling: 1 until the quit's own work is done and this says how it went.
    void setExitStatus(int status) noexcept;

private:
    explicit QuitDeadline(std::chrono::milliseconds ceiling);
    [[noreturn]] void watch();

    const std::chrono::milliseconds ceiling_;
    // Said on standard error at the ceiling; made beforehand.
    const std::string line_;
    int wake_[2] = {-1, -1};
    std::atomic<int> exitStatus_{1};
};

} // namespace driftmark
