#include "support/DatePattern.h"

#include <gtest/gtest.h>

namespace driftmark {
namespace {

using namespace std::chrono;

std::string formatted(std::string_view pattern, system_clock::time_point time, const DateNames& names = {}) {
    const auto parsed = DatePattern::parse(pattern);
    EXPECT_TRUE(parsed.has_value()) << pattern;
    return parsed ? parsed->format(CivilTime::at(time, seconds{0}), names) : std::string();
}

TEST(DatePattern, NumbersArePaddedToTheFieldsWidth) {
    const auto morning = sys_days{2025y / March / 7} + 9h + 5min + 3s + 7ms;
    EXPECT_EQ(formatted("yyyy-MM-dd HH:mm:ss.SSS", morning), "2025-03-07 09:05:03.007");
    EXPECT_EQ(formatted("y M d H m s", morning), "2025 3 7 9 5 3");
    EXPECT_EQ(formatted("yy", morning), "25");
    // Fractions are cut to the width, never rounded.
    EXPECT_EQ(formatted("s.S", morning + 999us), "3.0");
    EXPECT_EQ(formatted("SSSSS", morning), "00700");
}

TEST(DatePattern, TwelveHourClocksAndDayPeriods) {
    const auto midnight = sys_days{2025y / March / 7};
    EXPECT_EQ(formatted("h:mm a", midnight), "12:00 AM");
    EXPECT_EQ(formatted("h:mm a", midnight + 12h), "12:00 PM");
    EXPECT_EQ(formatted("hh:mm a", midnight + 13h + 7min), "01:07 PM");
    EXPECT_EQ(formatted("K k", midnight), "0 24");
    EXPECT_EQ(formatted("K k", midnight + 23h), "11 23");
}

TEST(DatePattern, NamesAndDigitsComeFromTheLocale) {
    DateNames german;
    german.weekdays[5] = "Freitag";
    german.months[2] = "März";
    const auto friday = sys_days{2025y / March / 7} + 14h;
    EXPECT_EQ(formatted("EEEE, d MMMM yyyy", friday), "Friday, 7 March 2025");
    EXPECT_EQ(formatted("EEEE, d MMMM yyyy", friday, german), "Freitag, 7 März 2025");

    DateNames arabic;
    arabic.digits = {"٠", "١", "٢", "٣", "٤", "٥", "٦", "٧", "٨", "٩"};
    arabic.dayPeriods = {"ص", "م"};
    EXPECT_EQ(formatted("h:mm:ss a", friday + 5min + 9s, arabic), "٢:٠٥:٠٩ م");
}

TEST(DatePattern, QuotedTextIsKeptAsWritten) {
    const auto time = sys_days{2025y / March / 7} + 8h + 4min + 2s;
    EXPECT_EQ(formatted("HH 'h' mm 'min' ss 's'", time), "08 h 04 min 02 s");
    EXPECT_EQ(formatted("H:mm:ss 'ч'.", time), "8:04:02 ч.");
    EXPECT_EQ(formatted("h 'o''clock'", time), "8 o'clock");
    EXPECT_EQ(formatted("''H''", time), "'8'");
}

TEST(DatePattern, FormsItCannotDrawAreRefused) {
    // Flexible day periods, abbreviations, eras, zones and week numbers need the full formatter.
    for (const char* pattern :
         {"Bh:mm:ss", "EEE", "MMM", "G yyyy", "HH:mm z", "w", "h:mm:ss aaaa", "'open"}) {
        EXPECT_FALSE(DatePattern::parse(pattern).has_value()) << pattern;
    }
}

TEST(DatePattern, CivilTimeFollowsTheOffsetAcrossDays) {
    const auto lateFriday = sys_days{2025y / March / 7} + 23h + 30min;
    const CivilTime tokyo = CivilTime::at(lateFriday, hours{9});
    EXPECT_EQ(tokyo.day, 8u);
    EXPECT_EQ(tokyo.weekday, 6u); // Saturday
    EXPECT_EQ(tokyo.hour, 8u);
    const CivilTime newYear = CivilTime::at(sys_days{2025y / January / 1} + 2h, hours{-5});
    EXPECT_EQ(newYear.year, 2024);
    EXPECT_EQ(newYear.month, 12u);
    EXPECT_EQ(newYear.day, 31u);
    EXPECT_EQ(newYear.hour, 21u);
    // Before 1970 too.
    const CivilTime old = CivilTime::at(sys_days{1969y / July / 20} + 20h + 17min + 40s + 5ms, seconds{0});
    EXPECT_EQ(old.weekday, 0u);
    EXPECT_EQ(old.second, 40u);
    EXPECT_EQ(old.millisecond, 5u);
}

} // namespace
} // namespace driftmark
