#include "support/CivilTime.h"

namespace driftmark {

CivilTime CivilTime::at(std::chrono::system_clock::time_point time, std::chrono::seconds utcOffset) {
    namespace chrono = std::chrono;
    const auto local = chrono::floor<chrono::milliseconds>(time) + utcOffset;
    const auto date = chrono::floor<chrono::days>(local);
    const chrono::year_month_day calendarDate{date};
    const chrono::hh_mm_ss clock{local - date};
    CivilTime civil;
    civil.year = static_cast<int>(calendarDate.year());
    civil.month = static_cast<unsigned>(calendarDate.month());
    civil.day = static_cast<unsigned>(calendarDate.day());
    civil.weekday = chrono::weekday{date}.c_encoding();
    civil.hour = static_cast<unsigned>(clock.hours().count());
    civil.minute = static_cast<unsigned>(clock.minutes().count());
    civil.second = static_cast<unsigned>(clock.seconds().count());
    civil.millisecond = static_cast<unsigned>(clock.subseconds().count());
    return civil;
}

} // namespace driftmark
