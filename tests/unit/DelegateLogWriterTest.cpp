#include "support/DelegateLogWriter.h"

#include "fakes/LogDirectory.h"
#include "fakes/ManualClock.h"
#include "fakes/RecordingSystemLog.h"
#include "fakes/TestEnvironment.h"
#include "fakes/TextFile.h"
#include "platform/OutsideText.h"
#include "support/AppLogger.h"
#include "support/LogFiles.h"

#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace driftmark {
namespace {

using namespace std::chrono;

// 7 March 2025 14:05:09 in Berlin, a Friday.
const system_clock::time_point afternoon = sys_days{2025y / March / 7} + 13h + 5min + 9s;
const LogCalendar berlin{"Europe/Berlin", "en_US"};
// CLDR 42 (ICU 72) puts a narrow no-break space, U+202F, before the day period.
constexpr std::string_view afternoonTime = "[2:05:09\u202FPM] ";

class DelegateLogWriterTest : public testing::Test, protected test::LogDirectory {
protected:
    test::ManualClock clock{afternoon};
    test::RecordingSystemLog systemLog;
    DelegateLogWriter writer{files, clock, systemLog, berlin};
};

TEST_F(DelegateLogWriterTest, LogFileURLIsTodaysFileAndCreatesTheDirectory) {
    EXPECT_EQ(writer.logFileURL(),
              directory.path() / ".log/driftmark-menubar/driftmark-menubar-2025-03-07.log");
    EXPECT_TRUE(std::filesystem::is_directory(files->directory()));

    std::filesystem::remove_all(directory.path() / ".log");
    clock.advance(10h);
    EXPECT_EQ(writer.logFileURL().filename(), "driftmark-menubar-2025-03-08.log");
    EXPECT_TRUE(std::filesystem::is_directory(files->directory()));
}

TEST_F(DelegateLogWriterTest, FirstLineOfADayFollowsTheHeaderAndAnEmptyLine) {
    writer.logToFile("🚀 Driftmark starting up...");
    writer.logToFile("first\nsecond");

    EXPECT_EQ(dayFile("2025-03-07"), "=== driftmark-menubar Log - Friday, 7 March 2025 ===\n\n" +
                                         std::string(afternoonTime) + "🚀 Driftmark starting up...\n" +
                                         std::string(afternoonTime) + "first\\nsecond\n");
}

// A title or an argument in a message cannot make a line of its own, reach a terminal as a control
// sequence, or fill the disk.
TEST_F(DelegateLogWriterTest, MessagesStayOneLineWithoutControlsAndAreCapped) {
    writer.logToFile("Remote copy refused: 'x\n[2:05:09\u202FPM] forged\x1b]0;t\x07'");
    writer.logToFile(std::string(5 * 1024 * 1024, 'y'));

    EXPECT_EQ(dayFile("2025-03-07"),
              "=== driftmark-menubar Log - Friday, 7 March 2025 ===\n\n" + std::string(afternoonTime) +
                  "Remote copy refused: 'x\\n[2:05:09\u202FPM] forged\\x1b]0;t\\x07'\n" +
                  std::string(afternoonTime) + std::string(OutsideText::messageLimit, 'y') + "…\n");
}

TEST_F(DelegateLogWriterTest, EachNewDayGetsItsOwnHeaderInTheLocalesWords) {
    DelegateLogWriter german(files, clock, systemLog, {"Europe/Berlin", "de_DE"});
    clock.set(sys_days{2025y / March / 7} + 22h + 59min + 59s);
    german.logToFile("spät");
    clock.advance(2s);
    german.logToFile("früh");

    EXPECT_EQ(dayFile("2025-03-07"),
              "=== driftmark-menubar Log - Freitag, 7 März 2025 ===\n\n[23:59:59] spät\n");
    EXPECT_EQ(dayFile("2025-03-08"),
              "=== driftmark-menubar Log - Samstag, 8 März 2025 ===\n\n[00:00:01] früh\n");
}

TEST_F(DelegateLogWriterTest, AddsNoHeaderToAFileThatTheAppLoggerCreated) {
    {
        AppLogger logger(files, clock, berlin);
        logger.info("from the logger");
    }
    writer.logToFile("from the delegate");

    const auto content = dayFile("2025-03-07");
    EXPECT_THAT(content, testing::StartsWith("[2025-03-07 14:05:09.000] [INFO] "));
    EXPECT_THAT(content, testing::EndsWith(" - from the logger\n" + std::string(afternoonTime) +
                                           "from the delegate\n"));
}

TEST_F(DelegateLogWriterTest, LogsPermissionsOnlyWhenTheyChange) {
    for (const bool granted : {true, true, false, false, true}) {
        writer.logPermissionsIfChanged(granted, "App startup");
    }

    const auto time = std::string(afternoonTime);
    EXPECT_THAT(dayFile("2025-03-07"),
                testing::EndsWith(" ===\n\n" + time + "App startup - Accessibility permissions: GRANTED\n" +
                                  time + "App startup - Accessibility permissions: NOT GRANTED\n" + time +
                                  "App startup - Accessibility permissions: GRANTED\n"));
    using Entry = test::RecordingSystemLog::Entry;
    EXPECT_THAT(
        systemLog.entries(),
        testing::ElementsAre(
            Entry{SystemLogLevel::debug, "AppDelegate", "App startup - Accessibility permissions: GRANTED"},
            Entry{SystemLogLevel::debug, "AppDelegate",
                  "App startup - Accessibility permissions: NOT GRANTED"},
            Entry{SystemLogLevel::debug, "AppDelegate", "App startup - Accessibility permissions: GRANTED"}));
}

TEST_F(DelegateLogWriterTest, IgnoresFailuresSilently) {
    std::ofstream(directory.path() / ".log");
    testing::internal::CaptureStdout();
    writer.logToFile("lost");
    writer.logPermissionsIfChanged(false, "Paste action");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(systemLog.entries().size(), 1U);
    EXPECT_FALSE(std::filesystem::exists(files->directory()));
}

} // namespace
} // namespace driftmark
