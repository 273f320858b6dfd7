#pragma once

#include "platform/SystemLog.h"
#include "support/LogCalendar.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>

namespace driftmark {

class Clock;
class LogFiles;

// The application delegate's own writer to the daily log: short lines, appended synchronously on the
// calling thread (a write to the file kept open, never waiting for the disk), and a day header when it
// is the one that creates the day's file. Its failures are
// ignored: a line that cannot be written is lost.
class DelegateLogWriter {
public:
    DelegateLogWriter(std::shared_ptr<LogFiles> files, const Clock& clock, SystemLog& systemLog,
                      LogCalendar calendar);

    // Today's file; creates the log directory when it is missing.
    std::filesystem::path logFileURL() const;

    // Appends "[" + local time + "] " + message.
    void logToFile(std::string_view message);

    // Logs the accessibility state to the system log and to the file, unless it is the state that was
    // logged last. The context names the occasion, e.g. "App startup".
    void logPermissionsIfChanged(bool granted, std::string_view context);

private:
    std::filesystem::path logFileURL(std::chrono::system_clock::time_point now) const;

    std::shared_ptr<LogFiles> files_;
    const Clock& clock_;
    CategoryLog logger_;
    LogDateFormatter dateFormatter_;
    LogDateFormatter headerDateFormatter_;
    LogDateFormatter timeFormatter_;
    std::optional<bool> lastLoggedPermissionStatus_;
};

} // namespace driftmark
