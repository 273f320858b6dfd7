#pragma once

#include <memory>
#include <optional>
#include <string>

namespace driftmark {

// The application object and its event loop. SIGINT, SIGTERM and SIGHUP end the loop cleanly, so that
// run() returns, the application can put things in order, and everything queued for the log is written.
class EventLoop {
public:
    EventLoop(int& argc, char** argv);
    ~EventLoop();
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    int run();

    // Why the program cannot show anything on this session, if it cannot.
    static std::optional<std::string> displayProblem();

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace driftmark
