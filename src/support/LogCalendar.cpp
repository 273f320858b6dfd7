#include "support/LogCalendar.h"

#include <cstdlib>
#include <stdexcept>
#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

namespace driftmark {

struct LogDateFormatter::Format {
    std::unique_ptr<icu::DateFormat> icu;
};

namespace {

// Dates are a matter of LC_TIME, which ICU's own default (taken from LC_MESSAGES) does not follow.
icu::Locale hostLocale() {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value == nullptr || *value == '\0') {
            continue;
        }
        const std::string_view id(value);
        if (id == "C" || id == "POSIX" || id.starts_with("C.")) {
            return icu::Locale("en_US_POSIX");
        }
        return icu::Locale::createCanonical(value);
    }
    return icu::Locale::getDefault();
}

icu::Locale localeOf(const LogCalendar& calendar) {
    return calendar.locale.empty() ? hostLocale() : icu::Locale::createCanonical(calendar.locale.c_str());
}

std::unique_ptr<icu::TimeZone> timeZoneOf(const LogCalendar& calendar) {
    if (calendar.timeZone.empty()) {
        return std::unique_ptr<icu::TimeZone>(icu::TimeZone::createDefault());
    }
    return std::unique_ptr<icu::TimeZone>(
        icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(calendar.timeZone)));
}

std::unique_ptr<icu::DateFormat> checked(std::unique_ptr<icu::DateFormat> format, UErrorCode status) {
    if (U_FAILURE(status) || format == nullptr) {
        throw std::runtime_error(std::string("cannot create a date format: ") + u_errorName(status));
    }
    return format;
}

std::unique_ptr<icu::DateFormat> patternFormat(std::string_view pattern, const icu::Locale& locale) {
    UErrorCode status = U_ZERO_ERROR;
    auto format =
        std::make_unique<icu::SimpleDateFormat>(icu::UnicodeString::fromUTF8(pattern), locale, status);
    return checked(std::move(format), status);
}

} // namespace

LogDateFormatter LogDateFormatter::fixed(const LogCalendar& calendar, std::string_view pattern) {
    icu::Locale locale = localeOf(calendar);
    UErrorCode status = U_ZERO_ERROR;
    locale.setKeywordValue("calendar", "gregorian", status);
    locale.setKeywordValue("numbers", "latn", status);
    auto format = checked(patternFormat(pattern, locale), status);
    format->adoptTimeZone(timeZoneOf(calendar).release());
    return LogDateFormatter(std::make_unique<Format>(std::move(format)));
}

LogDateFormatter LogDateFormatter::localized(const LogCalendar& calendar, std::string_view pattern) {
    auto format = patternFormat(pattern, localeOf(calendar));
    format->adoptTimeZone(timeZoneOf(calendar).release());
    return LogDateFormatter(std::make_unique<Format>(std::move(format)));
}

LogDateFormatter LogDateFormatter::mediumTime(const LogCalendar& calendar) {
    auto format = checked(std::unique_ptr<icu::DateFormat>(icu::DateFormat::createTimeInstance(
                              icu::DateFormat::kMedium, localeOf(calendar))),
                          U_ZERO_ERROR);
    format->adoptTimeZone(timeZoneOf(calendar).release());
    return LogDateFormatter(std::make_unique<Format>(std::move(format)));
}

LogDateFormatter::LogDateFormatter(std::unique_ptr<Format> format)
    : format_(std::move(format)) {}

LogDateFormatter::LogDateFormatter(LogDateFormatter&&) noexcept = default;
LogDateFormatter& LogDateFormatter::operator=(LogDateFormatter&&) noexcept = default;
LogDateFormatter::~LogDateFormatter() = default;

std::string LogDateFormatter::format(std::chrono::system_clock::time_point time) const {
    const auto milliseconds = std::chrono::floor<std::chrono::milliseconds>(time).time_since_epoch();
    icu::UnicodeString text;
    format_->icu->format(static_cast<UDate>(milliseconds.count()), text);
    std::string utf8;
    text.toUTF8String(utf8);
    return utf8;
}

} // namespace driftmark
