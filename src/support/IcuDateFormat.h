#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <unicode/uversion.h>

U_NAMESPACE_BEGIN
class DateFormat;
U_NAMESPACE_END

namespace driftmark {

// ICU's date formatter, for the log dates of locales and time zones the log's own formatter does not
// cover (other calendars, flexible day periods, zones missing from the system's database). ICU formatters
// are not safe to share between threads, so each object is used from one thread only.
class IcuDateFormat {
public:
    // An empty locale or time zone stands for ICU's default.
    static std::unique_ptr<IcuDateFormat> fixed(std::string_view locale, std::string_view timeZone,
                                                std::string_view pattern);
    static std::unique_ptr<IcuDateFormat> localized(std::string_view locale, std::string_view timeZone,
                                                    std::string_view pattern);
    static std::unique_ptr<IcuDateFormat> mediumTime(std::string_view locale, std::string_view timeZone);

    explicit IcuDateFormat(std::unique_ptr<icu::DateFormat> format);
    ~IcuDateFormat();

    std::string format(std::chrono::system_clock::time_point time) const;

private:
    std::unique_ptr<icu::DateFormat> format_;
};

} // namespace driftmark
