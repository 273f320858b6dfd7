#pragma once

#include "platform/linux/dbus/SessionClaim.h"

#include <functional>
#include <memory>

namespace driftmark {

class RemoteRequests;

// One Driftmark per user session. The first start claims the session-bus name app.driftmark.menubar
// (a lock file where there is no bus); a later start asks that one to open its settings window and
// exits. A relaunched Driftmark first waits a few seconds for the one it replaces to quit, and a start whose
// running Driftmark answers nothing ends that one and runs instead.
class SingleInstance {
public:
    // Requests from other starts (over the bus) go to the control the provider gives, on the main
    // thread; it gives none until start-up has made one.
    using RemoteControlProvider = std::function<RemoteRequests*()>;

    explicit SingleInstance(RemoteControlProvider remoteControl);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this process is now the session's Driftmark and should go on; needs the application
    // object. False when another one runs.
    bool claim();
    // For a start that lost the claim: asks the running Driftmark to open its settings window where it
    // can be reached, and returns how that went.
    SessionClaim::Answer handOverToRunning();
    // For a start whose running Driftmark did not answer (Request::unanswered): ends that one, if it runs
    // this program, and takes the claim. Says on standard error what it does; false when it could not.
    bool takeOverFromUnresponsive();

private:
    RemoteControlProvider remoteControl_;
    std::unique_ptr<SessionClaim> claim_;
};

} // namespace driftmark
