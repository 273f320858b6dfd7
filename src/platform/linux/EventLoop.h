#pragma once

#include "platform/linux/DisplayServerChoice.h"

#include <chrono>
#include <memory>

namespace driftmark {

// The application object and its event loop. SIGINT, SIGTERM and SIGHUP end the loop cleanly, so that
// run() returns, the application can put things in order, and everything queued for the log is written.
// From such a signal, or from the end of run(), the process has quitCeiling to end; past it, it ends at
// once (QuitDeadline), so that nothing that hangs at quit keeps the session from a later start.
class EventLoop {
public:
    // Qt draws on `server`.
    EventLoop(int& argc, char** argv, DisplayServer server);
    ~EventLoop();
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    // Longer than Qt waits for a clipboard manager to take the clipboard over as the application object
    // goes (5 s), so that the hand-over is never cut short.
    static constexpr std::chrono::milliseconds quitCeiling{10000};

    int run();
    // The quit's own work (the clipboard put back, the log written) is done: an exit at the ceiling from
    // here on, while tearing down, reports `status`.
    void quitWorkDone(int status);

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace driftmark
