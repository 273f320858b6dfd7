#include "support/LogCalendar.h"

#include "support/DatePattern.h"
#include "support/IcuDateFormat.h"
#include "support/LocaleDateTable.h"

#include <cstdlib>
#include <ctime>

namespace driftmark {

// Either the log's own formatter (a pattern and the locale's names, in the host's zone) or, for what it
// does not cover, ICU's.
struct LogDateFormatter::Format {
    std::optional<DatePattern> pattern;
    DateNames names;
    std::unique_ptr<IcuDateFormat> icu;
};

namespace {

// Dates are a matter of LC_TIME, which ICU's own default (taken from LC_MESSAGES) does not follow.
// Empty when nothing is set, for ICU's default.
std::string hostLocale() {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value == nullptr || *value == '\0') {
            continue;
        }
        const std::string_view id(value);
        if (id == "C" || id == "POSIX" || id.starts_with("C.")) {
            return "en_US_POSIX";
        }
        return std::string(id);
    }
    return {};
}

std::string localeOf(const LogCalendar& calendar) {
    return calendar.locale.empty() ? hostLocale() : calendar.locale;
}

// The locale's dates from the table, for a plain setting such as "de_DE.UTF-8"; settings with modifiers
// ("@euro", "@calendar=...") are left to ICU, which knows what they change.
std::optional<LocaleDates> tableDates(const std::string& locale) {
    if (locale.empty() || locale.find('@') != std::string::npos) {
        return std::nullopt;
    }
    return LocaleDateTable::find(std::string_view(locale).substr(0, locale.find('.')));
}

// The host's zone is the C library's (TZ, else /etc/localtime), which knows the zone's offset at any
// instant; a named zone is left to ICU.
std::unique_ptr<LogDateFormatter::Format> ownFormat(const LogCalendar& calendar,
                                                    std::optional<DatePattern> pattern, DateNames names) {
    if (!pattern || !calendar.timeZone.empty()) {
        return nullptr;
    }
    // TZ is read now, as the formatter is made, not at the library's first use.
    ::tzset();
    auto format = std::make_unique<LogDateFormatter::Format>();
    format->pattern = std::move(pattern);
    format->names = std::move(names);
    return format;
}

std::unique_ptr<LogDateFormatter::Format> icuFormat(std::unique_ptr<IcuDateFormat> icu) {
    auto format = std::make_unique<LogDateFormatter::Format>();
    format->icu = std::move(icu);
    return format;
}

} // namespace

LogDateFormatter LogDateFormatter::fixed(const LogCalendar& calendar, std::string_view pattern) {
    // Gregorian years and ASCII digits whatever the locale: the default names are all it needs.
    if (auto format = ownFormat(calendar, DatePattern::parse(pattern), DateNames{})) {
        return LogDateFormatter(std::move(format));
    }
    return LogDateFormatter(icuFormat(IcuDateFormat::fixed(localeOf(calendar), calendar.timeZone, pattern)));
}

LogDateFormatter LogDateFormatter::localized(const LogCalendar& calendar, std::string_view pattern) {
    const std::string locale = localeOf(calendar);
    if (auto dates = tableDates(locale)) {
        if (auto format = ownFormat(calendar, DatePattern::parse(pattern), std::move(dates->names))) {
            return LogDateFormatter(std::move(format));
        }
    }
    return LogDateFormatter(icuFormat(IcuDateFormat::localized(locale, calendar.timeZone, pattern)));
}

LogDateFormatter LogDateFormatter::mediumTime(const LogCalendar& calendar) {
    const std::string locale = localeOf(calendar);
    if (auto dates = tableDates(locale)) {
        if (auto format =
                ownFormat(calendar, DatePattern::parse(dates->mediumTimePattern), std::move(dates->names))) {
            return LogDateFormatter(std::move(format));
        }
    }
    return LogDateFormatter(icuFormat(IcuDateFormat::mediumTime(locale, calendar.timeZone)));
}

LogDateFormatter::LogDateFormatter(std::unique_ptr<Format> format)
    : format_(std::move(format)) {}

LogDateFormatter::LogDateFormatter(LogDateFormatter&&) noexcept = default;
LogDateFormatter& LogDateFormatter::operator=(LogDateFormatter&&) noexcept = default;
LogDateFormatter::~LogDateFormatter() = default;

std::string LogDateFormatter::format(std::chrono::system_clock::time_point time) const {
    if (format_->icu) {
        return format_->icu->format(time);
    }
    const std::time_t instant = std::chrono::floor<std::chrono::seconds>(time).time_since_epoch().count();
    std::tm local{};
    const std::chrono::seconds offset{::localtime_r(&instant, &local) != nullptr ? local.tm_gmtoff : 0};
    return format_->pattern->format(CivilTime::at(time, offset), format_->names);
}

} // namespace driftmark
