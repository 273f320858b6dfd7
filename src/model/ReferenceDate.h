#pragma once

#include <chrono>

namespace driftmark {

// Stored timestamps count seconds from 2001-01-01 00:00:00 UTC, the form every stored entry list uses.
inline constexpr std::chrono::sys_days referenceDate{std::chrono::year{2001} / 1 / 1};

inline double secondsSinceReferenceDate(std::chrono::system_clock::time_point moment) {
    return std::chrono::duration<double>(moment - referenceDate).count();
}

} // namespace driftmark
