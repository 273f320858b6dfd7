#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace driftmark {

// The UTC offsets of one time zone over time, read from the system's time zone database (TZif files and
// POSIX TZ rules) without ICU. Immutable once made, so one object may be shared between threads.
class TimeZoneRules {
public:
    // The zone of an IANA id such as "Europe/Berlin", read from $TZDIR or /usr/share/zoneinfo; absent when
    // the id is unknown, unsafe (absolute, containing "..") or the file is not valid TZif.
    static std::optional<TimeZoneRules> named(std::string_view id);
    // The host's zone, as the C library picks it: $TZ when set (":id", an id, an absolute path to a TZif
    // file, or a POSIX rule such as "CET-1CEST,M3.5.0,M10.5.0/3" or "UTC0"), else /etc/localtime; UTC
    // when none of these can be read (a malformed rule included). An empty $TZ means UTC.
    static TimeZoneRules host();
    static TimeZoneRules utc();

    // Seconds east of UTC in effect at the instant.
    std::chrono::seconds offsetAt(std::chrono::sys_seconds instant) const;

private:
    // When in a year daylight time starts or ends: a day in one of the three POSIX forms, and the local
    // time of day (which may be negative or past 24 hours).
    struct YearlyChange {
        enum class Form { JulianNoLeap, ZeroBasedDay, MonthWeekDay };
        Form form = Form::MonthWeekDay;
        int day = 0;   // 1-365 (JulianNoLeap), 0-365 (ZeroBasedDay) or the weekday, 0 being Sunday
        int month = 0; // 1-12
        int week = 0;  // 1-5, 5 being the last
        std::int32_t time = 2 * 3600;

        // The change in the year, as seconds since the epoch of a clock showing the local time.
        std::int64_t localTimeIn(int year) const;
    };
    // A POSIX TZ rule, as in $TZ or the footer of a TZif file.
    struct Rule {
        std::int32_t standardOffset = 0; // seconds east of UTC
        std::optional<std::int32_t> daylightOffset;
        YearlyChange daylightStart;
        YearlyChange daylightEnd;

        static std::optional<Rule> parse(std::string_view text);
        std::int32_t offsetAt(std::int64_t instant) const;
    };

    static std::optional<TimeZoneRules> fromPath(std::string_view path);
    static std::optional<TimeZoneRules> fromTzif(std::string_view bytes);

    // Transition instants (seconds since the epoch, ascending) and the offset that each one starts.
    std::vector<std::int64_t> transitions_;
    std::vector<std::int32_t> offsets_;
    std::int32_t initialOffset_ = 0;
    std::optional<Rule> rule_;
};

} // namespace driftmark
