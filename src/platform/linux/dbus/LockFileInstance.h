#pragma once

#include "platform/linux/dbus/SessionClaim.h"

#include <string>

namespace driftmark {

// The session claim where there is no session bus: an exclusive flock on a file. The kernel drops the
// lock when its holder ends, however it ends, so a lock left by a killed process never blocks a start.
// There is no way to reach the holder.
class LockFileInstance final : public SessionClaim {
public:
    explicit LockFileInstance(std::string path);
    ~LockFileInstance() override;
    LockFileInstance(const LockFileInstance&) = delete;
    LockFileInstance& operator=(const LockFileInstance&) = delete;

    // A file that cannot be opened or locked at all (not ours, no space, no locks) lets the start go on:
    // a broken lock must not keep Driftmark from running. Standard error says so.
    bool tryAcquire() override;
    bool acquireAfter(pid_t pid, std::chrono::milliseconds timeout) override;
    Answer askHolderToOpenSettings() override { return {Request::unsupported, {}}; }
    std::optional<pid_t> holderProcess() override { return std::nullopt; }

private:
    bool open();
    void giveUp(const std::string& reason);

    std::string path_;
    int fd_ = -1;
};

} // namespace driftmark
