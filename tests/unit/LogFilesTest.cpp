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
#include <iostream>
#include <latch>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

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

// How many of the process's descriptors lead to the file.
int descriptorsOpenOn(const std::filesystem::path& file) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(entry.path(), error) == file) {
            ++count;
        }
    }
    return count;
}

TEST(LogFiles, KeepsTheFileOpenBetweenLinesAndClosesItWhenGone) {
    test::TemporaryDirectory directory;
    const auto file = directory.path() / "driftmark-menubar-2025-03-07.log";
    {
        LogFiles files(directory.path());
        ASSERT_FALSE(files.append(file, "a\n", "header\n"));
        ASSERT_FALSE(files.append(file, "b\n", "header\n"));
        EXPECT_EQ(descriptorsOpenOn(file), 1);
        EXPECT_EQ(test::readTextFile(file), "header\na\nb\n");
    }
    EXPECT_EQ(descriptorsOpenOn(file), 0);
}

// Log rotation moves the file away; a user may delete it or put another file in its place. Each line
// goes to the file the path names when it is written, and a file the append creates gets the header.
TEST(LogFiles, WritesToWhatThePathNamesAfterTheFileWasMovedDeletedOrReplaced) {
    test::TemporaryDirectory directory;
    LogFiles files(directory.path());
    const auto file = files.dayFile("2025-03-07");
    ASSERT_FALSE(files.append(file, "a\n", "header\n"));
    std::filesystem::rename(file, directory.path() / "rotated");
    ASSERT_FALSE(files.append(file, "b\n", "header\n"));
    EXPECT_EQ(test::readTextFile(directory.path() / "rotated"), "header\na\n");
    EXPECT_EQ(test::readTextFile(file), "header\nb\n");

    std::filesystem::remove(file);
    ASSERT_FALSE(files.append(file, "c\n", "header\n"));
    EXPECT_EQ(test::readTextFile(file), "header\nc\n");

    std::filesystem::remove(file);
    std::ofstream(file) << "someone else's\n";
    ASSERT_FALSE(files.append(file, "d\n", "header\n"));
    EXPECT_EQ(test::readTextFile(file), "someone else's\nd\n");

    // A new day's file is a file of its own; the earlier one is no longer held.
    ASSERT_FALSE(files.append(files.dayFile("2025-03-08"), "e\n", "header\n"));
    EXPECT_EQ(test::readTextFile(files.dayFile("2025-03-08")), "header\ne\n");
    EXPECT_EQ(descriptorsOpenOn(file), 0);
    EXPECT_EQ(descriptorsOpenOn(files.dayFile("2025-03-08")), 1);
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

std::vector<std::string> namesIn(const std::filesystem::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

// A log directory and the lines LogFiles reports about it.
struct CheckedLogDirectory {
    LogFiles::ProblemReporter recorder() {
        return [this](const std::string& line) { problems.push_back(line); };
    }

    test::TemporaryDirectory directory;
    std::filesystem::path logDirectory = directory.path() / ".log" / "driftmark-menubar";
    // Somewhere anyone may write.
    std::filesystem::path elsewhere = directory.path() / "shared";
    std::vector<std::string> problems;
};

TEST(LogFiles, MakesAnExistingDirectoryPrivate) {
    CheckedLogDirectory fixture;
    std::filesystem::create_directories(fixture.logDirectory);
    ::chmod(fixture.logDirectory.c_str(), 0777);
    LogFiles files(fixture.logDirectory, fixture.recorder());
    EXPECT_FALSE(files.createDirectory());
    EXPECT_EQ(modeOf(fixture.logDirectory), 0700U);
    EXPECT_FALSE(files.append(files.dayFile("2025-03-07"), "line\n"));
    EXPECT_EQ(test::readTextFile(files.dayFile("2025-03-07")), "line\n");
    EXPECT_TRUE(fixture.problems.empty());
}

TEST(LogFiles, RefusesALinkedDirectoryWithOneLineAndWritesNothingThroughIt) {
    CheckedLogDirectory fixture;
    std::filesystem::create_directories(fixture.elsewhere);
    ::chmod(fixture.elsewhere.c_str(), 0777);
    std::filesystem::create_directories(fixture.logDirectory.parent_path());
    std::filesystem::create_directory_symlink(fixture.elsewhere, fixture.logDirectory);

    const auto files = std::make_shared<LogFiles>(fixture.logDirectory, fixture.recorder());
    test::ManualClock clock(sys_days{2025y / March / 7} + 12h);
    test::RecordingSystemLog systemLog;
    std::ostringstream standardOutput;
    auto* const previous = std::cout.rdbuf(standardOutput.rdbuf());
    {
        AppLogger logger(files, clock, LogCalendar{"UTC", "en_US"});
        DelegateLogWriter writer(files, clock, systemLog, LogCalendar{"UTC", "en_US"});
        logger.info("a text of the user's");
        writer.logToFile("another text of the user's");
        logger.flush();
        EXPECT_FALSE(files->createDirectory());
        EXPECT_FALSE(files->append(files->dayFile("2025-03-07"), "line\n"));
    }
    std::cout.rdbuf(previous);

    EXPECT_TRUE(std::filesystem::is_symlink(fixture.logDirectory));
    EXPECT_TRUE(namesIn(fixture.elsewhere).empty());
    EXPECT_EQ(modeOf(fixture.elsewhere), 0777U);
    ASSERT_EQ(fixture.problems.size(), 1U);
    EXPECT_EQ(fixture.problems[0], "Log directory " + fixture.logDirectory.string() +
                                       " is a symbolic link, not a directory of your own; "
                                       "the log is not written to files");
    EXPECT_EQ(standardOutput.str(), "");
}

TEST(LogFiles, RefusesADirectoryReplacedByALinkAfterItWasChecked) {
    CheckedLogDirectory fixture;
    LogFiles files(fixture.logDirectory, fixture.recorder());
    ASSERT_FALSE(files.createDirectory());
    std::filesystem::remove(fixture.logDirectory);
    std::filesystem::create_directories(fixture.elsewhere);
    std::filesystem::create_directory_symlink(fixture.elsewhere, fixture.logDirectory);

    EXPECT_FALSE(files.append(files.dayFile("2025-03-07"), "line\n"));
    EXPECT_FALSE(files.append(files.dayFile("2025-03-07"), "line\n"));
    EXPECT_TRUE(namesIn(fixture.elsewhere).empty());
    EXPECT_EQ(fixture.problems.size(), 1U);
}

TEST(LogFiles, RefusesADirectoryReplacedByALinkWhileItsFileIsOpen) {
    CheckedLogDirectory fixture;
    LogFiles files(fixture.logDirectory, fixture.recorder());
    ASSERT_FALSE(files.createDirectory());
    ASSERT_FALSE(files.append(files.dayFile("2025-03-07"), "line\n"));
    std::filesystem::rename(fixture.logDirectory, fixture.directory.path() / "moved");
    std::filesystem::create_directories(fixture.elsewhere);
    std::filesystem::create_directory_symlink(fixture.elsewhere, fixture.logDirectory);

    EXPECT_FALSE(files.append(files.dayFile("2025-03-07"), "line\n"));
    EXPECT_TRUE(namesIn(fixture.elsewhere).empty());
    EXPECT_EQ(fixture.problems.size(), 1U);
}

TEST(LogFiles, RefusesADirectoryOfAnotherUser) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give a directory to another user";
    }
    CheckedLogDirectory fixture;
    std::filesystem::create_directories(fixture.logDirectory);
    ::chmod(fixture.logDirectory.c_str(), 0777);
    ASSERT_EQ(::chown(fixture.logDirectory.c_str(), 65534, 65534), 0);
    LogFiles files(fixture.logDirectory, fixture.recorder());
    EXPECT_FALSE(files.createDirectory());
    EXPECT_FALSE(files.append(files.dayFile("2025-03-07"), "line\n"));
    EXPECT_TRUE(namesIn(fixture.logDirectory).empty());
    EXPECT_EQ(modeOf(fixture.logDirectory), 0777U);
    ASSERT_EQ(fixture.problems.size(), 1U);
    EXPECT_EQ(fixture.problems[0], "Log directory " + fixture.logDirectory.string() +
                                       " belongs to another user (uid 65534); "
                                       "the log is not written to files");
}

TEST(LogFiles, NeverFollowsALinkedLogFile) {
    CheckedLogDirectory fixture;
    LogFiles files(fixture.logDirectory, fixture.recorder());
    ASSERT_FALSE(files.createDirectory());
    std::filesystem::create_directories(fixture.elsewhere);
    const auto readable = fixture.elsewhere / "readable.log";
    std::ofstream(readable).close();
    ::chmod(readable.c_str(), 0644);
    const auto file = files.dayFile("2025-03-07");
    std::filesystem::create_symlink(readable, file);

    EXPECT_EQ(files.append(file, "a text of the user's\n", "header\n"),
              file.string() + ": Too many levels of symbolic links");
    EXPECT_EQ(test::readTextFile(readable), "");
    EXPECT_TRUE(std::filesystem::is_symlink(file));
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
