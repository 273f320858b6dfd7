#include "support/AppLogger.h"

#include "fakes/LogDirectory.h"
#include "fakes/ManualClock.h"
#include "fakes/TestEnvironment.h"
#include "fakes/TextFile.h"
#include "platform/OutsideText.h"
#include "support/LogCalendar.h"
#include "support/LogFiles.h"

#include <atomic>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <mutex>
#include <sstream>
#include <thread>
#include <vector>

namespace driftmark {
namespace {

using namespace std::chrono;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::StartsWith;

// 7 March 2025 14:05:09.123 in Berlin; midnight in Berlin is 23:00 UTC.
const system_clock::time_point afternoon = sys_days{2025y / March / 7} + 13h + 5min + 9s + 123ms;
const system_clock::time_point beforeMidnight = sys_days{2025y / March / 7} + 22h + 59min + 59s + 900ms;
const system_clock::time_point afterMidnight = sys_days{2025y / March / 7} + 23h + 100ms;
const LogCalendar berlin{"Europe/Berlin", "en_US"};

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

class AppLoggerTest : public testing::Test, protected test::LogDirectory {
protected:
    test::ManualClock clock{afternoon};
};

// Returns the line of its call.
std::uint_least32_t logFromLambda(AppLogger& logger) {
    std::uint_least32_t line = 0;
    [&] {
        line = std::source_location::current().line() + 1;
        logger.error("inside");
    }();
    return line;
}

TEST_F(AppLoggerTest, WritesEachLineWithTimestampLevelAndCallSite) {
    AppLogger logger(files, clock, berlin);
    const auto line = std::source_location::current().line() + 1;
    logger.info("hello");
    logger.debug("first\nsecond");
    const auto lambdaLine = logFromLambda(logger);
    logger.log("given", AppLogger::LogLevel::warning, "/work/src/model/MenuItemManager.cpp",
               "registerShortcut(for:action:)", 42);
    logger.flush();

    // A file created by this writer has no header.
    const std::string stamp = "[2025-03-07 14:05:09.123] ";
    EXPECT_EQ(dayFile("2025-03-07"),
              stamp + "[INFO] [AppLoggerTest.cpp:" + std::to_string(line) + "] TestBody() - hello\n" + stamp +
                  "[DEBUG] [AppLoggerTest.cpp:" + std::to_string(line + 1) +
                  "] TestBody() - first\\nsecond\n" + stamp + "[ERROR] [AppLoggerTest.cpp:" +
                  std::to_string(lambdaLine) + "] logFromLambda() - inside\n" + stamp +
                  "[WARNING] [MenuItemManager.cpp:42] registerShortcut(for:action:) - given\n");
}

// A title or an argument in a message cannot make a line of its own, reach a terminal as a control
// sequence, or fill the disk.
TEST_F(AppLoggerTest, MessagesStayOneLineWithoutControlsAndAreCapped) {
    AppLogger logger(files, clock, berlin);
    logger.info("Remote copy for 'a\n[2025-03-07 14:05:09.123] [ERROR] forged\x1b[2J\u009b'");
    logger.log(std::string(5 * 1024 * 1024, 'x'), AppLogger::LogLevel::error, "f.cpp", "f()", 1);
    logger.flush();

    const auto lines = linesOf(dayFile("2025-03-07"));
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_THAT(
        lines[0],
        testing::EndsWith("- Remote copy for 'a\\n[2025-03-07 14:05:09.123] [ERROR] forged\\x1b[2J\\u009b'"));
    EXPECT_THAT(lines[1], testing::EndsWith(" - " + std::string(OutsideText::messageLimit, 'x') + "…"));
}

// While held, other threads wait inside now(), so the test can move time on before the writer reads
// it; the holding thread itself reads the time freely.
class HeldClock final : public Clock {
public:
    explicit HeldClock(const Clock& clock)
        : clock_(clock) {}
    system_clock::time_point now() const override {
        if (holder_.load() == std::this_thread::get_id()) {
            return clock_.now();
        }
        const std::lock_guard lock(gate_);
        return clock_.now();
    }
    void hold() {
        gate_.lock();
        holder_ = std::this_thread::get_id();
    }
    void release() {
        holder_ = std::thread::id();
        gate_.unlock();
    }

private:
    const Clock& clock_;
    mutable std::mutex gate_;
    std::atomic<std::thread::id> holder_;
};

TEST_F(AppLoggerTest, RollsOverAtLocalMidnightByTheTimeOfWriting) {
    HeldClock held(clock);
    AppLogger logger(files, held, berlin);
    clock.set(beforeMidnight);
    logger.info("late");
    logger.flush();
    // Called before midnight, written after it.
    held.hold();
    logger.info("early");
    clock.set(afterMidnight);
    held.release();
    logger.flush();

    EXPECT_THAT(linesOf(dayFile("2025-03-07")), ElementsAre(StartsWith("[2025-03-07 23:59:59.900] [INFO]")));
    EXPECT_THAT(linesOf(dayFile("2025-03-08")), ElementsAre(StartsWith("[2025-03-08 00:00:00.100] [INFO]")));
}

TEST_F(AppLoggerTest, UsesTheCalendarsTimeZoneForFileAndTimestamp) {
    clock.set(sys_days{2025y / March / 7} + 20h);
    AppLogger logger(files, clock, {"Asia/Tokyo", "en_US"});
    logger.info("tokyo");
    logger.flush();

    EXPECT_THAT(dayFile("2025-03-08"), StartsWith("[2025-03-08 05:00:00.000] [INFO]"));
}

TEST_F(AppLoggerTest, KeepsCallOrderAcrossThreadsAndDrainsWhenDestroyed) {
    constexpr int threads = 4;
    constexpr int perThread = 500;
    {
        AppLogger logger(files, clock, berlin);
        std::vector<std::jthread> callers;
        for (int t = 0; t < threads; ++t) {
            callers.emplace_back([&logger, t] {
                for (int i = 0; i < perThread; ++i) {
                    logger.info(std::to_string(t) + " " + std::to_string(i));
                }
            });
        }
    }

    std::vector<int> next(threads, 0);
    for (const auto& line : linesOf(dayFile("2025-03-07"))) {
        const auto message = line.substr(line.find(" - ") + 3);
        const int thread = std::stoi(message);
        EXPECT_EQ(std::stoi(message.substr(message.find(' '))), next.at(thread)++);
    }
    EXPECT_EQ(next, std::vector<int>(threads, perThread));
}

TEST_F(AppLoggerTest, ReportsFailuresOnStandardOutputAndRecoversOnceTheDirectoryExists) {
    // A regular file where a parent directory should be fails even for root.
    std::ofstream(directory.path() / ".log");
    testing::internal::CaptureStdout();
    AppLogger logger(files, clock, berlin);
    logger.info("lost");
    logger.flush();
    const auto output = linesOf(testing::internal::GetCapturedStdout());

    ASSERT_EQ(output.size(), 2U);
    EXPECT_THAT(output[0],
                StartsWith("Failed to create log directory: " + (directory.path() / ".log").string()));
    EXPECT_THAT(output[0], HasSubstr("Not a directory"));
    EXPECT_THAT(output[1], StartsWith("Failed to write log: " + files->dayFile("2025-03-07").string()));

    std::filesystem::remove(directory.path() / ".log");
    ASSERT_FALSE(files->createDirectory());
    logger.info("kept");
    logger.flush();
    EXPECT_THAT(dayFile("2025-03-07"), testing::EndsWith(" - kept\n"));
}

} // namespace
} // namespace driftmark
