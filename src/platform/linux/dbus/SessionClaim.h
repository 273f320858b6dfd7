#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>

namespace driftmark {

// What keeps a second Driftmark from running in the same user session: the session-bus name, or a lock
// file where there is no bus. Free of Qt so that the hand-over rules can be tested alone.
class SessionClaim {
public:
    // How a later start's request to open the settings window went.
    // `unanswered` is silence until the call timed out: the holder hangs. `failed` is any other error.
    enum class Request { delivered, unsupported, unanswered, refused, failed };
    struct Answer {
        Request request = Request::delivered;
        // Why the holder could not open the window, for a refused request; the error, for a failed one.
        std::string reason;
    };

    // How long a relaunched Driftmark waits for the one it replaces before it gives up and behaves as a
    // second start.
    static constexpr std::chrono::milliseconds replacedInstanceWait{5000};

    virtual ~SessionClaim() = default;

    // Takes the claim for this process unless another process holds it.
    virtual bool tryAcquire() = 0;
    // Takes the claim once the process `pid`, which holds it now, has gone; false when another process
    // holds it, or `pid` still does after `timeout`.
    virtual bool acquireAfter(pid_t pid, std::chrono::milliseconds timeout) = 0;
    // Asks the holder to open its settings window.
    virtual Answer askHolderToOpenSettings() = 0;
    // The process that holds the claim, where that can be known.
    virtual std::optional<pid_t> holderProcess() = 0;

    // True when this process is the session's Driftmark. A relaunched one (`replaced` is the process it
    // replaces) waits for that process to go rather than fight it for the tray and the hot keys.
    bool claim(std::optional<pid_t> replaced, std::chrono::milliseconds wait = replacedInstanceWait) {
        if (tryAcquire()) {
            return true;
        }
        return replaced.has_value() && acquireAfter(*replaced, wait);
    }

    // The line a second start prints before it exits.
    static std::string alreadyRunningLine(const Answer& answer) {
        switch (answer.request) {
        case Request::delivered:
            return "Driftmark is already running; opened its settings window.";
        case Request::unsupported:
            return "Driftmark is already running.";
        case Request::unanswered:
            return "Driftmark is already running, but it did not answer the request to open its settings "
                   "window.";
        case Request::refused:
            return "Driftmark is already running, but it " + answer.reason;
        case Request::failed:
            return "Driftmark is already running, but the request to open its settings window failed: " +
                   answer.reason;
        }
        return "Driftmark is already running.";
    }
};

} // namespace driftmark
