#include "support/DelegateLogWriter.h"

#include "platform/Clock.h"
#include "platform/OutsideText.h"
#include "support/LogFiles.h"

namespace driftmark {

DelegateLogWriter::DelegateLogWriter(std::shared_ptr<LogFiles> files, const Clock& clock,
                                     SystemLog& systemLog, LogCalendar calendar)
    : files_(std::move(files))
    , clock_(clock)
    , logger_(systemLog, "AppDelegate")
    , dateFormatter_(LogDateFormatter::fixed(calendar, "yyyy-MM-dd"))
    , headerDateFormatter_(LogDateFormatter::localized(calendar, "EEEE, d MMMM yyyy"))
    , timeFormatter_(LogDateFormatter::mediumTime(calendar)) {}

std::filesystem::path DelegateLogWriter::logFileURL() const {
    return logFileURL(clock_.now());
}

std::filesystem::path DelegateLogWriter::logFileURL(std::chrono::system_clock::time_point now) const {
    const std::string date = dateFormatter_.format(now);
    static_cast<void>(files_->createDirectory());
    return files_->dayFile(date);
}

void DelegateLogWriter::logToFile(std::string_view message) {
    // One reading of the clock, so that a line written at midnight has its time and its file agree.
    const auto now = clock_.now();
    std::string line = "[" + timeFormatter_.format(now) + "] ";
    // Messages carry titles and arguments: one call is one line, whatever they hold.
    line.append(OutsideText::excerpt(message, OutsideText::messageLimit)).append("\n");
    std::string header = "=== ";
    header.append(LogFiles::appName)
        .append(" Log - ")
        .append(headerDateFormatter_.format(now))
        .append(" ===\n\n");
    const std::filesystem::path file = files_->dayFile(dateFormatter_.format(now));
    // The directory is made when a line finds it missing, not checked for each line.
    if (files_->append(file, line, header)) {
        static_cast<void>(files_->createDirectory());
        static_cast<void>(files_->append(file, line, header));
    }
}

void DelegateLogWriter::logPermissionsIfChanged(bool granted, std::string_view context) {
    if (lastLoggedPermissionStatus_ == granted) {
        return;
    }
    std::string message(context);
    message.append(" - Accessibility permissions: ").append(granted ? "GRANTED" : "NOT GRANTED");
    logger_.debug(message);
    logToFile(message);
    lastLoggedPermissionStatus_ = granted;
}

} // namespace driftmark
