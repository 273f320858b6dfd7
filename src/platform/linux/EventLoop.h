#pragma once

#include "platform/linux/DisplayServerChoice.h"

#include <memory>

namespace driftmark {

// The application object and its event loop. SIGINT, SIGTERM and SIGHUP end the loop cleanly, so that
// run() returns, the application can put things in order, and everything queued for the log is written.
class EventLoop {
public:
    // Qt draws on `server`.
    EventLoop(int& argc, char** argv, DisplayServer server);
    ~EventLoop();
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    int run();

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace driftmark
