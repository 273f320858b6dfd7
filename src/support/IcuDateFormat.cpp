#include "support/IcuDateFormat.h"

#include <stdexcept>
#include <unicode/datefmt.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

namespace driftmark {

namespace {

icu::Locale localeOf(std::string_view locale) {
    return locale.empty() ? icu::Locale::getDefault()
                          : icu::Locale::createCanonical(std::string(locale).c_str());
}

icu::TimeZone* timeZoneOf(std::string_view timeZone) {
    if (timeZone.empty()) {
        return icu::TimeZone::createDefault();
    }
    return icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(
        icu::StringPiece(timeZone.data(), static_cast<int32_t>(timeZone.size()))));
}

std::unique_ptr<IcuDateFormat> checked(std::unique_ptr<icu::DateFormat> format, UErrorCode status,
                                       std::string_view timeZone) {
    if (U_FAILURE(status) || format == nullptr) {
        throw std::runtime_error(std::string("cannot create a date format: ") + u_errorName(status));
    }
    format->adoptTimeZone(timeZoneOf(timeZone));
    return std::make_unique<IcuDateFormat>(std::move(format));
}

std::unique_ptr<icu::DateFormat> patternFormat(std::string_view pattern, const icu::Locale& locale,
                                               UErrorCode& status) {
    return std::make_unique<icu::SimpleDateFormat>(
        icu::UnicodeString::fromUTF8(icu::StringPiece(pattern.data(), static_cast<int32_t>(pattern.size()))),
        locale, status);
}

} // namespace

std::unique_ptr<IcuDateFormat> IcuDateFormat::fixed(std::string_view locale, std::string_view timeZone,
                                                    std::string_view pattern) {
    icu::Locale gregorian = localeOf(locale);
    UErrorCode status = U_ZERO_ERROR;
    gregorian.setKeywordValue("calendar", "gregorian", status);
    gregorian.setKeywordValue("numbers", "latn", status);
    auto format = patternFormat(pattern, gregorian, status);
    return checked(std::move(format), status, timeZone);
}

std::unique_ptr<IcuDateFormat> IcuDateFormat::localized(std::string_view locale, std::string_view timeZone,
                                                        std::string_view pattern) {
    UErrorCode status = U_ZERO_ERROR;
    auto format = patternFormat(pattern, localeOf(locale), status);
    return checked(std::move(format), status, timeZone);
}

std::unique_ptr<IcuDateFormat> IcuDateFormat::mediumTime(std::string_view locale, std::string_view timeZone) {
    return checked(std::unique_ptr<icu::DateFormat>(
                       icu::DateFormat::createTimeInstance(icu::DateFormat::kMedium, localeOf(locale))),
                   U_ZERO_ERROR, timeZone);
}

IcuDateFormat::IcuDateFormat(std::unique_ptr<icu::DateFormat> format)
    : format_(std::move(format)) {}

IcuDateFormat::~IcuDateFormat() = default;

std::string IcuDateFormat::format(std::chrono::system_clock::time_point time) const {
    const auto milliseconds = std::chrono::floor<std::chrono::milliseconds>(time).time_since_epoch();
    icu::UnicodeString text;
    format_->format(static_cast<UDate>(milliseconds.count()), text);
    std::string utf8;
    text.toUTF8String(utf8);
    return utf8;
}

} // namespace driftmark
