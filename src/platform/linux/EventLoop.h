#pragma once

#include <memory>

namespace driftmark {

// The application object and its event loop. SIGINT and SIGTERM end the loop cleanly, so that
// run() returns and everything queued for the log is written.
class EventLoop {
public:
    EventLoop(int& argc, char** argv);
    ~EventLoop();
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    int run();

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace driftmark
