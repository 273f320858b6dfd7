#pragma once

#include "support/DateNames.h"

#include <optional>
#include <string>
#include <string_view>

namespace driftmark {

// A locale's date names and its medium time pattern ("h:mm:ss a"), as ICU has them.
struct LocaleDates {
    DateNames names;
    std::string mediumTimePattern;
};

// The locales whose log dates can be written without ICU: a table made from ICU when the program is
// built, holding only the locales for which that gives ICU's own text. Looking one up touches a few pages
// of it, where ICU's date formatters would load megabytes of code and data.
class LocaleDateTable {
public:
    // By ICU's name of the locale ("de_DE", "sr_Latn_RS", "en_US_POSIX"); absent for locales left to ICU.
    static std::optional<LocaleDates> find(std::string_view locale);
};

} // namespace driftmark
