#include "platform/linux/dbus/SessionClaim.h"

#include <deque>
#include <gtest/gtest.h>
#include <vector>

namespace driftmark {
namespace {

// Answers from a script and remembers what it was asked.
class ScriptedClaim final : public SessionClaim {
public:
    bool tryAcquire() override {
        ++attempts;
        return free;
    }
    bool acquireAfter(pid_t pid, std::chrono::milliseconds timeout) override {
        waits.push_back({pid, timeout});
        return holderGoesAway;
    }
    Answer askHolderToOpenSettings() override { return {Request::delivered, {}}; }
    std::optional<pid_t> holderProcess() override { return std::nullopt; }

    struct Wait {
        pid_t pid;
        std::chrono::milliseconds timeout;
    };

    bool free = true;
    bool holderGoesAway = false;
    int attempts = 0;
    std::vector<Wait> waits;
};

TEST(SessionClaimTest, FirstStartTakesAFreeClaimWithoutWaiting) {
    ScriptedClaim claim;
    EXPECT_TRUE(claim.claim(std::nullopt));
    EXPECT_EQ(claim.attempts, 1);
    EXPECT_TRUE(claim.waits.empty());
}

TEST(SessionClaimTest, RelaunchFindingTheClaimFreeDoesNotWait) {
    ScriptedClaim claim;
    EXPECT_TRUE(claim.claim(4242));
    EXPECT_TRUE(claim.waits.empty());
}

TEST(SessionClaimTest, SecondStartNeverWaits) {
    ScriptedClaim claim;
    claim.free = false;
    claim.holderGoesAway = true;
    EXPECT_FALSE(claim.claim(std::nullopt));
    EXPECT_TRUE(claim.waits.empty());
}

TEST(SessionClaimTest, RelaunchWaitsForTheProcessItReplaces) {
    ScriptedClaim claim;
    claim.free = false;
    claim.holderGoesAway = true;
    EXPECT_TRUE(claim.claim(4242));
    ASSERT_EQ(claim.waits.size(), 1U);
    EXPECT_EQ(claim.waits[0].pid, 4242);
    EXPECT_EQ(claim.waits[0].timeout, std::chrono::seconds(5));
}

TEST(SessionClaimTest, RelaunchWhoseOldProcessStaysIsASecondStart) {
    ScriptedClaim claim;
    claim.free = false;
    claim.holderGoesAway = false;
    EXPECT_FALSE(claim.claim(4242, std::chrono::milliseconds(250)));
    ASSERT_EQ(claim.waits.size(), 1U);
    EXPECT_EQ(claim.waits[0].timeout, std::chrono::milliseconds(250));
}

TEST(SessionClaimTest, SecondStartLineSaysWhatHappenedToTheRequest) {
    EXPECT_EQ(SessionClaim::alreadyRunningLine({SessionClaim::Request::delivered, {}}),
              "Driftmark is already running; opened its settings window.");
    EXPECT_EQ(SessionClaim::alreadyRunningLine({SessionClaim::Request::unsupported, {}}),
              "Driftmark is already running.");
    EXPECT_EQ(SessionClaim::alreadyRunningLine({SessionClaim::Request::unanswered, {}}),
              "Driftmark is already running, but it did not answer the request to open its settings window.");
    EXPECT_EQ(SessionClaim::alreadyRunningLine(
                  {SessionClaim::Request::failed, "Driftmark is still starting up; try again"}),
              "Driftmark is already running, but the request to open its settings window failed: Driftmark is "
              "still starting up; try again");
    EXPECT_EQ(SessionClaim::alreadyRunningLine(
                  {SessionClaim::Request::refused,
                   "cannot open the settings window: module \"QtQuick.Templates\" is not installed"}),
              "Driftmark is already running, but it cannot open the settings window: module "
              "\"QtQuick.Templates\" is not installed");
}

} // namespace
} // namespace driftmark
