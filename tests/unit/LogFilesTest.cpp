#include "support/LogFiles.h"

#include "fakes/ManualClock.h"
#include "fakes/RecordingSystemLog.h"
#include "fakes/TestEnvironment.h"
#include "fakes/TextFile.h"
#include "support/AppLogger.h"
#include "support/DelegateLogWriter.h"

#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <latch>
#include <sstream>
#include <sys/stat.h>
#include <thread>

namespace driftmark {
namespace {

using namespace std::chrono;

unsigned modeOf(const std::filesystem::path& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? status.st_mode & 07777U : 0U;
}

TEST(LogFiles, DefaultsToTheHiddenDirectoryInTheHome) {
    // The test main points HOME at a temporary directory.
    EXPECT_EQ(LogFiles::shared()->dayFile("2025-03-07"),
              std::filesystem::path(std::getenv("HOME")) /
                  ".log/driftmark-menubar/driftmark-menubar-2025-03-07.log");
}

TEST(LogFiles, CreatesPrivateDirectoriesAndFiles) {
    test::TemporaryDirectory directory;
    LogFiles files(directory.path() / ".log" / "driftmark-menubar");
    ASSERT_FALSE(files.createDirectory());
    ASSERT_FALSE(files.createDirectory()) << "an existing directory is no error";
    EXPECT_EQ(modeOf(directory.path() / ".log"), 0700U);
    EXPECT_EQ(modeOf(files.directory()), 0700U);

    const auto file = files.dayFile("2025-03-07");
    ASSERT_FALSE(files.append(file, "line\n"));
    EXPECT_EQ(modeOf(file), 0600U);
}

TEST(LogFiles, WritesTheHeaderOnlyIntoAFileThatTheAppendCreates) {
    test::TemporaryDirectory directory;
    LogFiles files(directory.path());
    const auto file = files.dayFile("2025-03-07");
    ASSERT_FALSE(files.append(file, "a\n", "header\n"));
    ASSERT_FALSE(files.append(file, "b\n", "header\n"));
    EXPECT_EQ(test::readTextFile(file), "header\na\nb\n");
}

TEST(LogFiles, DescribesFailures) {
    test::TemporaryDirectory directory;
    std::ofstream(directory.path() / "plain");
    LogFiles files(directory.path() / "plain" / "logs");
    EXPECT_EQ(files.createDirectory(), (directory.path() / "plain/logs").string() + ": Not a directory");
    EXPECT_EQ(LogFiles(directory.path() / "plain").createDirectory(),
              (directory.path() / "plain").string() + ": File exists");
    EXPECT_EQ(files.append(files.dayFile("x"), "line\n"), files.dayFile("x").string() + ": Not a directory");
}

// Both writers race for each new day's file; every line must arrive whole and in its writer's order, and
// a header only as the first line of a file that the delegate writer created.
TEST(LogFiles, KeepsLinesOfBothWritersWholeWhenTheyWriteAtOnce) {
    constexpr int dayCount = 10;
    constexpr int perWriter = 250;
    test::TemporaryDirectory directory;
    const auto files = std::make_shared<LogFiles>(directory.path());
    test::ManualClock clock;
    test::RecordingSystemLog systemLog;
    const LogCalendar calendar{"UTC", "en_US"};
    AppLogger logger(files, clock, calendar);
    DelegateLogWriter writer(files, clock, systemLog, calendar);

    const auto dateFormatter = LogDateFormatter::fixed(calendar, "yyyy-MM-dd");
    for (int day = 0; day < dayCount; ++day) {
        clock.set(sys_days{2025y / March / 1} + days{day} + 12h);
        std::latch start(2);
        std::jthread delegate([&] {
            start.arrive_and_wait();
            for (int i = 0; i < perWriter; ++i) {
                writer.logToFile("delegate " + std::to_string(i) + std::string(40, 'd'));
            }
        });
        start.arrive_and_wait();
        for (int i = 0; i < perWriter; ++i) {
            logger.info("logger " + std::to_string(i) + std::string(40, 'l'));
        }
        delegate.join();
        logger.flush();

        const std::string date = dateFormatter.format(clock.now());
        const std::string loggerPrefix = "[" + date + " 12:00:00.000] [INFO] [LogFilesTest.cpp:";
        std::istringstream content(test::readTextFile(files->dayFile(date)));
        std::string line;
        int nextLogger = 0;
        int nextDelegate = 0;
        for (int number = 0; std::getline(content, line); ++number) {
            if (line.starts_with("===")) {
                EXPECT_EQ(number, 0) << line;
                ASSERT_TRUE(std::getline(content, line));
                EXPECT_EQ(line, "");
                // The header and the line whose append created the file belong together.
                ASSERT_TRUE(std::getline(content, line));
                EXPECT_EQ(line, "[12:00:00\u202FPM] delegate 0" + std::string(40, 'd'));
                ++nextDelegate;
                continue;
            }
            if (const auto logged = line.find("] TestBody() - logger "); logged != std::string::npos) {
                EXPECT_TRUE(line.starts_with(loggerPrefix)) << line;
                EXPECT_EQ(line.substr(logged),
                          "] TestBody() - logger " + std::to_string(nextLogger++) + std::string(40, 'l'));
            } else {
                EXPECT_EQ(line, "[12:00:00\u202FPM] delegate " + std::to_string(nextDelegate++) +
                                    std::string(40, 'd'));
            }
        }
        EXPECT_EQ(nextLogger, perWriter);
        EXPECT_EQ(nextDelegate, perWriter);
    }
}

} // namespace
} // namespace driftmark
