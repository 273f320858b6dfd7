#pragma once

#include <chrono>

namespace driftmark {

// A moment as a wall clock and a Gregorian calendar at one UTC offset show it.
struct CivilTime {
    int year = 1970;
    unsigned month = 1;   // 1 to 12
    unsigned day = 1;     // 1 to 31
    unsigned weekday = 4; // 0 for Sunday to 6 for Saturday
    unsigned hour = 0;
    unsigned minute = 0;
    unsigned second = 0;
    unsigned millisecond = 0;

    // Sub-millisecond parts are cut, never rounded into the next millisecond.
    static CivilTime at(std::chrono::system_clock::time_point time, std::chrono::seconds utcOffset);
};

} // namespace driftmark
