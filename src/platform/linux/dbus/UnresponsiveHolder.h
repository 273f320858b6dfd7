#pragma once

#include <chrono>
#include <sys/types.h>

namespace driftmark {

// Ends the Driftmark that holds the session but answers nothing, so that a new start can take over: only
// a process of this user running this very program, and only the one that was found, not a process that
// has since taken over its PID. Free of Qt so that it can be tested alone.
class UnresponsiveHolder {
public:
    enum class Outcome {
        gone,           // it had already ended
        notThisProgram, // another program or another user's process: left alone
        ended,          // it quit on SIGTERM
        killed,         // it quit only on SIGKILL
        stays,          // not even SIGKILL ended it in time (a process stuck in the kernel)
    };

    // SIGTERM, then after `grace` SIGKILL, and again up to `grace` for it to end.
    static Outcome end(pid_t pid, std::chrono::milliseconds grace);

    // Whether process `pid` belongs to this user and runs the same executable as this process (or the same
    // path, for one whose executable was replaced on disk since it started).
    static bool runsThisProgram(pid_t pid);
};

} // namespace driftmark
