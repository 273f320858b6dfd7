#include "support/LogCalendar.h"

#include "fakes/ScopedVariable.h"

#include <gtest/gtest.h>

namespace driftmark {
namespace {

using namespace std::chrono;

// 7 March 2025 13:05:09.123 UTC, a Friday: 14:05 in Berlin (winter time).
const system_clock::time_point friday = sys_days{2025y / March / 7} + 13h + 5min + 9s + 123ms;
const LogCalendar berlin{"Europe/Berlin", "en_US"};

TEST(LogCalendar, FormatsTimestampsInTheCalendarsTimeZone) {
    const auto timestamp = LogDateFormatter::fixed(berlin, "yyyy-MM-dd HH:mm:ss.SSS");
    EXPECT_EQ(timestamp.format(friday), "2025-03-07 14:05:09.123");
    // Summer time is two hours ahead of UTC.
    EXPECT_EQ(timestamp.format(sys_days{2025y / July / 1} + 10h + 7ms), "2025-07-01 12:00:00.007");
    // Sub-millisecond parts are cut, not rounded into the next second.
    EXPECT_EQ(timestamp.format(friday + 876us), "2025-03-07 14:05:09.123");

    const system_clock::time_point evening = sys_days{2025y / March / 7} + 20h;
    EXPECT_EQ(LogDateFormatter::fixed({"Asia/Tokyo", "en_US"}, "yyyy-MM-dd").format(evening), "2025-03-08");
    EXPECT_EQ(LogDateFormatter::fixed({"America/Los_Angeles", "en_US"}, "yyyy-MM-dd").format(evening),
              "2025-03-07");
}

TEST(LogCalendar, FixedPatternsKeepGregorianYearsAndAsciiDigitsInEveryLocale) {
    for (const char* locale : {"th_TH", "ar_EG", "fa_IR", "ja_JP@calendar=japanese"}) {
        EXPECT_EQ(LogDateFormatter::fixed({"Europe/Berlin", locale}, "yyyy-MM-dd").format(friday),
                  "2025-03-07")
            << locale;
    }
}

TEST(LogCalendar, LocalizedPatternsAndMediumTimeFollowTheLocale) {
    EXPECT_EQ(LogDateFormatter::localized(berlin, "EEEE, d MMMM yyyy").format(friday),
              "Friday, 7 March 2025");
    EXPECT_EQ(LogDateFormatter::localized({"Europe/Berlin", "de_DE"}, "EEEE, d MMMM yyyy").format(friday),
              "Freitag, 7 März 2025");

    // CLDR 42 (ICU 72) separates the day period with a narrow no-break space, U+202F.
    EXPECT_EQ(LogDateFormatter::mediumTime(berlin).format(friday), "2:05:09\u202FPM");
    EXPECT_EQ(LogDateFormatter::mediumTime({"Europe/Berlin", "de_DE"}).format(friday), "14:05:09");
    EXPECT_EQ(LogDateFormatter::mediumTime({"America/New_York", "en_GB"}).format(friday), "08:05:09");
}

using test::ScopedVariable;

TEST(LogCalendar, HostLocaleComesFromTheTimeSettings) {
    const ScopedVariable all("LC_ALL", "");
    const ScopedVariable lang("LANG", "en_US.UTF-8");
    const LogCalendar host{"Europe/Berlin", ""};
    {
        const ScopedVariable time("LC_TIME", "de_DE.UTF-8");
        EXPECT_EQ(LogDateFormatter::localized(host, "EEEE").format(friday), "Freitag");
    }
    {
        const ScopedVariable time("LC_TIME", "C.UTF-8");
        EXPECT_EQ(LogDateFormatter::mediumTime(host).format(friday), "2:05:09\u202FPM");
    }
}

// With neither given, the host's zone ($TZ here) and locale decide, and a zone the system's database lacks
// still gets a date.
TEST(LogCalendar, HostTimeZoneComesFromTheEnvironment) {
    const ScopedVariable all("LC_ALL", "en_US.UTF-8");
    {
        const ScopedVariable zone("TZ", "Asia/Tokyo");
        EXPECT_EQ(LogDateFormatter::fixed({}, "yyyy-MM-dd HH:mm").format(friday), "2025-03-07 22:05");
        EXPECT_EQ(LogDateFormatter::mediumTime({}).format(friday), "10:05:09\u202FPM");
    }
    {
        const ScopedVariable zone("TZ", "EST5EDT,M3.2.0,M11.1.0");
        EXPECT_EQ(LogDateFormatter::fixed({}, "HH:mm").format(friday), "08:05");
    }
    EXPECT_EQ(LogDateFormatter::fixed({"Nowhere/Atlantis", "en_US"}, "yyyy").format(friday), "2025");
}

// The log's own zone is the host's: offsets of whole and half hours, daylight saving time on either
// side of the year, and the moment it starts.
TEST(LogCalendar, HostTimeZoneFollowsDaylightSavingAndHalfHourOffsets) {
    const ScopedVariable all("LC_ALL", "en_US.UTF-8");
    const system_clock::time_point july = sys_days{2025y / July / 1} + 10h + 7ms;
    const auto stamp = [] { return LogDateFormatter::fixed({}, "yyyy-MM-dd HH:mm:ss.SSS"); };
    {
        const ScopedVariable zone("TZ", "Europe/Berlin");
        EXPECT_EQ(stamp().format(friday), "2025-03-07 14:05:09.123");
        EXPECT_EQ(stamp().format(july), "2025-07-01 12:00:00.007");
        // Summer time begins at 01:00 UTC on the last Sunday of March.
        const system_clock::time_point change = sys_days{2025y / March / 30} + 1h;
        EXPECT_EQ(stamp().format(change - 1ms), "2025-03-30 01:59:59.999");
        EXPECT_EQ(stamp().format(change), "2025-03-30 03:00:00.000");
    }
    {
        const ScopedVariable zone("TZ", "Asia/Kolkata");
        EXPECT_EQ(stamp().format(friday), "2025-03-07 18:35:09.123");
    }
    {
        const ScopedVariable zone("TZ", "America/St_Johns");
        EXPECT_EQ(stamp().format(friday), "2025-03-07 09:35:09.123");
        EXPECT_EQ(stamp().format(july), "2025-07-01 07:30:00.007");
    }
    {
        const ScopedVariable zone("TZ", "Australia/Adelaide");
        EXPECT_EQ(stamp().format(friday), "2025-03-07 23:35:09.123");
        EXPECT_EQ(stamp().format(july), "2025-07-01 19:30:00.007");
    }
    {
        const ScopedVariable zone("TZ", "<+0545>-5:45");
        EXPECT_EQ(LogDateFormatter::mediumTime({}).format(friday), "6:50:09\u202FPM");
    }
}

} // namespace
} // namespace driftmark
