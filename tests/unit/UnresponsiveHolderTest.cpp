#include "platform/linux/dbus/UnresponsiveHolder.h"

#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace driftmark {
namespace {

using namespace std::chrono_literals;

// A child running this same program, which says when it is ready and then waits for signals; with
// `ignoreTerm` it stays through SIGTERM.
class Child {
public:
    explicit Child(bool ignoreTerm) {
        int ready[2];
        EXPECT_EQ(::pipe(ready), 0);
        pid = ::fork();
        if (pid == 0) {
            if (ignoreTerm) {
                std::signal(SIGTERM, SIG_IGN);
            }
            const char byte = 1;
            [[maybe_unused]] const auto written = ::write(ready[1], &byte, 1);
            for (;;) {
                ::pause();
            }
        }
        ::close(ready[1]);
        char byte = 0;
        EXPECT_EQ(::read(ready[0], &byte, 1), 1);
        ::close(ready[0]);
    }

    // The signal that ended it (it has ended: end() waited for that), or 0 when it had to be killed here.
    int reap() {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return 0;
        }
        return WIFSIGNALED(status) ? WTERMSIG(status) : -1;
    }

    pid_t pid = -1;
};

TEST(UnresponsiveHolderTest, EndsThisProgramWithSigterm) {
    Child child(false);
    EXPECT_TRUE(UnresponsiveHolder::runsThisProgram(child.pid));
    EXPECT_EQ(UnresponsiveHolder::end(child.pid, 20s), UnresponsiveHolder::Outcome::ended);
    EXPECT_EQ(child.reap(), SIGTERM);
}

TEST(UnresponsiveHolderTest, KillsOneThatStaysThroughSigterm) {
    Child child(true);
    EXPECT_EQ(UnresponsiveHolder::end(child.pid, 1s), UnresponsiveHolder::Outcome::killed);
    EXPECT_EQ(child.reap(), SIGKILL);
}

TEST(UnresponsiveHolderTest, LeavesAnotherProgramAlone) {
    const pid_t other = ::fork();
    if (other == 0) {
        ::execl("/bin/sleep", "sleep", "60", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    // Until the exec has happened the child still runs this program.
    for (int tries = 0; tries < 2000 && UnresponsiveHolder::runsThisProgram(other); ++tries) {
        ::usleep(10000);
    }
    EXPECT_FALSE(UnresponsiveHolder::runsThisProgram(other));
    EXPECT_EQ(UnresponsiveHolder::end(other, 1s), UnresponsiveHolder::Outcome::notThisProgram);
    int status = 0;
    EXPECT_EQ(::waitpid(other, &status, WNOHANG), 0) << "the other program was ended";
    ::kill(other, SIGKILL);
    ::waitpid(other, &status, 0);
}

TEST(UnresponsiveHolderTest, OneAlreadyGoneIsGone) {
    Child child(false);
    ::kill(child.pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child.pid, &status, 0), child.pid);
    EXPECT_EQ(UnresponsiveHolder::end(child.pid, 1s), UnresponsiveHolder::Outcome::gone);
}

TEST(UnresponsiveHolderTest, TheInitProcessIsNotThisProgram) {
    EXPECT_FALSE(UnresponsiveHolder::runsThisProgram(1));
}

} // namespace
} // namespace driftmark
