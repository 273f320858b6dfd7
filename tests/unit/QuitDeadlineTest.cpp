#include "platform/linux/QuitDeadline.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <thread>

namespace driftmark {
namespace {

using namespace std::chrono_literals;

// Stands for a quit that hangs; should the deadline not end the process, it ends itself with 42, late.
[[noreturn]] void hang() {
    std::this_thread::sleep_for(60s);
    std::_Exit(42);
}

TEST(QuitDeadlineDeathTest, EndsAProcessThatHangsAfterTheQuitBeganWithStatus1) {
    EXPECT_EXIT(
        {
            QuitDeadline& deadline = QuitDeadline::install(100ms);
            deadline.start();
            hang();
        },
        testing::ExitedWithCode(1), "quitting took longer than 0 s; exiting without waiting for the rest");
}

TEST(QuitDeadlineDeathTest, AnExitAfterTheQuitsOwnWorkGivesItsStatus) {
    EXPECT_EXIT(
        {
            QuitDeadline& deadline = QuitDeadline::install(100ms);
            deadline.start();
            deadline.setExitStatus(0);
            hang();
        },
        testing::ExitedWithCode(0), "quitting took longer than");
}

// The signal handler starts it: nothing else may be needed.
TEST(QuitDeadlineDeathTest, StartsFromASignalHandler) {
    EXPECT_EXIT(
        {
            static QuitDeadline* deadline = &QuitDeadline::install(100ms);
            std::signal(SIGTERM, [](int) { deadline->start(); });
            std::raise(SIGTERM);
            hang();
        },
        testing::ExitedWithCode(1), "quitting took longer than");
}

TEST(QuitDeadlineDeathTest, NothingHappensBeforeTheStart) {
    EXPECT_EXIT(
        {
            QuitDeadline::install(10ms);
            std::this_thread::sleep_for(500ms);
            std::_Exit(7);
        },
        testing::ExitedWithCode(7), "");
}

} // namespace
} // namespace driftmark
