#pragma once

#include <cstdint>
#include <memory>
#include <source_location>
#include <string>
#include <string_view>

namespace driftmark {

class Clock;
class LogFiles;
struct LogCalendar;

// The leveled daily log. A call only captures its values and queues them; a writer thread of the
// logger's own formats each line and appends it to the day's file, one line at a time, in call order.
class AppLogger {
public:
    enum class LogLevel { debug, info, warning, error };

    // The process-wide logger writing to ~/.log/driftmark-menubar/ in local time.
    static AppLogger& shared();

    AppLogger(std::shared_ptr<LogFiles> files, const Clock& clock, const LogCalendar& calendar);
    // Writes every line queued so far, then stops the writer thread.
    ~AppLogger();
    AppLogger(const AppLogger&) = delete;
    AppLogger& operator=(const AppLogger&) = delete;

    // The function field is the calling function's name followed by "()".
    void debug(std::string message, std::source_location site = std::source_location::current());
    void info(std::string message, std::source_location site = std::source_location::current());
    void warning(std::string message, std::source_location site = std::source_location::current());
    void error(std::string message, std::source_location site = std::source_location::current());

    // The function field is written exactly as given, e.g. "registerShortcut(for:action:)".
    void log(std::string message, LogLevel level, std::string_view file, std::string_view function,
             std::uint_least32_t line);

    // Blocks until every line queued before the call has been written.
    void flush();

    static std::string_view printedForm(LogLevel level);

private:
    struct Writer;
    std::unique_ptr<Writer> writer_;
};

} // namespace driftmark
