#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

namespace driftmark {

// The time zone (an IANA id such as "Europe/Berlin") and the locale (an ICU id such as "en_US") in
// which log dates are read. An empty field means the host's own setting: the program's log uses the
// host's zone, as the C library has it from TZ; a named zone is ICU's.
struct LogCalendar {
    std::string timeZone;
    std::string locale;
};

// Formats instants as local dates and times of a calendar, to UTF-8. Each object is used from one thread
// only (the formatters of locales left to ICU are not safe to share).
class LogDateFormatter {
public:
    // A machine-readable pattern such as "yyyy-MM-dd": Gregorian years and ASCII digits in every locale,
    // so that file names and timestamps stay comparable.
    static LogDateFormatter fixed(const LogCalendar& calendar, std::string_view pattern);
    // A pattern with the locale's own names and numbers, such as "EEEE, d MMMM yyyy".
    static LogDateFormatter localized(const LogCalendar& calendar, std::string_view pattern);
    // The locale's medium time style without a date, e.g. "2:05:09 PM" in English.
    static LogDateFormatter mediumTime(const LogCalendar& calendar);

    LogDateFormatter(LogDateFormatter&&) noexcept;
    LogDateFormatter& operator=(LogDateFormatter&&) noexcept;
    ~LogDateFormatter();

    std::string format(std::chrono::system_clock::time_point time) const;

    // How the object formats; opaque outside its source file.
    struct Format;

private:
    explicit LogDateFormatter(std::unique_ptr<Format> format);
    std::unique_ptr<Format> format_;
};

} // namespace driftmark
