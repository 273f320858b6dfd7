#pragma once

#include <array>
#include <string>

namespace driftmark {

// What a locale writes for the parts of a date and time: its ten digits, its day periods and the full
// names of weekdays (Sunday first) and months, in the forms used inside a date.
struct DateNames {
    std::array<std::string, 10> digits{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    std::array<std::string, 2> dayPeriods{"AM", "PM"};
    std::array<std::string, 7> weekdays{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                        "Thursday", "Friday", "Saturday"};
    std::array<std::string, 12> months{"January", "February", "March",     "April",   "May",      "June",
                                       "July",    "August",   "September", "October", "November", "December"};
};

} // namespace driftmark
