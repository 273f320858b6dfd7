#include "support/LocaleDateTable.h"

#include "support/IcuDateFormat.h"
#include "support/LogCalendar.h"

#include <gtest/gtest.h>

namespace driftmark {
namespace {

using namespace std::chrono;

TEST(LocaleDateTable, HoldsTheCommonLocalesAndLeavesOtherCalendarsToIcu) {
    for (const char* locale : {"en_US", "en_GB", "de_DE", "fr_FR", "es_MX", "pt_BR", "ru_RU", "ja_JP",
                               "ko_KR", "zh_CN", "zh_Hans_CN", "ar_EG", "hi_IN", "he_IL", "en_US_POSIX"}) {
        EXPECT_TRUE(LocaleDateTable::find(locale).has_value()) << locale;
    }
    // Buddhist and Persian calendars and flexible day periods ("in the afternoon") stay with ICU.
    for (const char* locale : {"th_TH", "fa_IR", "zh_TW", "", "de_DE.UTF-8", "xx_YY"}) {
        EXPECT_FALSE(LocaleDateTable::find(locale).has_value()) << locale;
    }
    const auto german = LocaleDateTable::find("de_DE");
    ASSERT_TRUE(german.has_value());
    EXPECT_EQ(german->mediumTimePattern, "HH:mm:ss");
    EXPECT_EQ(german->names.months[2], "März");
    EXPECT_EQ(german->names.weekdays[0], "Sonntag");
}

// The log's own formatter and ICU's give the same text for a spread of instants, in the zones of the
// tests and in locales with other digits, day periods and name forms.
TEST(LocaleDateTable, LogDatesMatchIcusInTheTablesLocales) {
    const std::vector<system_clock::time_point> instants = {
        sys_days{2025y / March / 7} + 13h + 5min + 9s, sys_days{2025y / July / 1} + 23h + 59min + 59s,
        sys_days{2025y / October / 26} + 0h + 30min, sys_days{2026y / December / 31} + 11h + 1min + 2s};
    for (const char* locale : {"en_US", "de_DE", "ar_EG", "ru_RU", "pl_PL", "ko_KR", "bn_IN", "mr_IN",
                               "uk_UA", "el_GR", "sr_RS", "zh_CN", "bo_CN", "cy_GB", "en_US_POSIX"}) {
        ASSERT_TRUE(LocaleDateTable::find(locale).has_value()) << locale;
        for (const char* zone : {"Europe/Berlin", "America/Los_Angeles", "Asia/Kolkata"}) {
            const LogCalendar calendar{zone, locale};
            const auto time = LogDateFormatter::mediumTime(calendar);
            const auto header = LogDateFormatter::localized(calendar, "EEEE, d MMMM yyyy");
            const auto icuTime = IcuDateFormat::mediumTime(locale, zone);
            const auto icuHeader = IcuDateFormat::localized(locale, zone, "EEEE, d MMMM yyyy");
            for (const auto instant : instants) {
                EXPECT_EQ(time.format(instant), icuTime->format(instant)) << locale << " " << zone;
                EXPECT_EQ(header.format(instant), icuHeader->format(instant)) << locale << " " << zone;
            }
        }
    }
}

TEST(LocaleDateTable, LocalesOutsideTheTableAreStillWrittenByIcu) {
    const auto friday = sys_days{2025y / March / 7} + 13h + 5min + 9s;
    // The Buddhist calendar counts 2568 for 2025.
    EXPECT_EQ(LogDateFormatter::localized({"Asia/Bangkok", "th_TH"}, "yyyy").format(friday), "2568");
    EXPECT_EQ(LogDateFormatter::mediumTime({"Asia/Taipei", "zh_TW"}).format(friday),
              IcuDateFormat::mediumTime("zh_TW", "Asia/Taipei")->format(friday));
    EXPECT_EQ(
        LogDateFormatter::localized({"Europe/Berlin", "de_DE@calendar=buddhist"}, "yyyy").format(friday),
        "2568");
}

} // namespace
} // namespace driftmark
