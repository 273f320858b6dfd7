#pragma once

#include "support/CivilTime.h"
#include "support/DateNames.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace driftmark {

// A date pattern in the notation of Unicode's date formats ("EEEE, d MMMM yyyy", "h:mm:ss a"), limited
// to the fields a log needs: years, numeric and full months, days, full weekdays, hours in both cycles,
// minutes, seconds, fractions of a second and the day period. Quoted text is kept as written.
class DatePattern {
public:
    // Absent when the pattern uses a field or a width outside that set.
    static std::optional<DatePattern> parse(std::string_view pattern);

    std::string format(const CivilTime& time, const DateNames& names) const;

private:
    struct Part {
        char field = 0; // 0 for literal text
        unsigned width = 0;
        std::string text;
    };

    explicit DatePattern(std::vector<Part> parts);

    std::vector<Part> parts_;
};

} // namespace driftmark
