#include "support/TimeZoneRules.h"

#include "fakes/ScopedVariable.h"
#include "fakes/TestEnvironment.h"

#include <ctime>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace driftmark {
namespace {

using namespace std::chrono;
using test::ScopedVariable;
using test::TemporaryDirectory;
namespace fs = std::filesystem;

const char* const systemZones[] = {"Europe/Berlin",    "America/New_York", "America/Los_Angeles",
                                   "Australia/Sydney", "Asia/Tokyo",       "Asia/Kolkata",
                                   "Pacific/Chatham",  "America/St_Johns", "Africa/Casablanca",
                                   "Europe/Dublin",    "Antarctica/Troll", "UTC"};

sys_seconds at(year_month_day day, seconds time = 0s) {
    return sys_days{day} + time;
}

// The C library's offset at the instant, in the zone that $TZ names.
long libcOffset(std::int64_t instant) {
    const std::time_t time = instant;
    std::tm parts{};
    return ::localtime_r(&time, &parts) != nullptr ? parts.tm_gmtoff : -1;
}

// Compares with the C library under $TZ = tz: day by day from the first day to 2100, to the second around
// each change that it makes there, and at instants centuries away.
void expectSameAsLibc(const TimeZoneRules& zone, const char* tz, sys_days first = 1850y / 1 / 1) {
    int mismatches = 0;
    {
        const ScopedVariable variable("TZ", tz);
        ::tzset();
        const auto check = [&](std::int64_t instant, long expected) {
            const auto actual = zone.offsetAt(sys_seconds{seconds{instant}}).count();
            if (actual != expected && ++mismatches <= 3) {
                ADD_FAILURE() << tz << " at " << instant << ": " << actual << " s, the C library "
                              << expected;
            }
        };
        for (const auto day : {1600y / 1 / 1, 1800y / 7 / 1, 2200y / 7 / 1, 2500y / 1 / 15, 9999y / 7 / 1}) {
            const std::int64_t instant = at(day).time_since_epoch().count();
            if (sys_days{day} >= first) {
                check(instant, libcOffset(instant));
            }
        }
        const std::int64_t end = at(2100y / 1 / 1).time_since_epoch().count();
        const std::int64_t start = sys_seconds{first}.time_since_epoch().count();
        long offset = libcOffset(start);
        for (std::int64_t day = start; day < end; day += 86400) {
            check(day, offset);
            const long next = libcOffset(day + 86400);
            if (next != offset) {
                std::int64_t before = day;
                std::int64_t after = day + 86400;
                while (after - before > 1) {
                    const std::int64_t middle = before + (after - before) / 2;
                    (libcOffset(middle) == offset ? before : after) = middle;
                }
                check(before, offset);
                check(after, next);
            }
            offset = next;
        }
    }
    ::tzset();
    EXPECT_EQ(mismatches, 0) << tz;
}

TimeZoneRules hostWith(const char* tz) {
    const ScopedVariable variable("TZ", tz);
    return TimeZoneRules::host();
}

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

struct TzifType {
    std::int32_t offset = 0;
    std::uint8_t daylight = 0;
    std::uint8_t designation = 0;
};
struct TzifBlock {
    std::vector<std::int64_t> times;
    std::vector<std::uint8_t> typeIndices;
    std::vector<TzifType> types{{}};
};

// TZif bytes: a version 1 block and, from version 2 on, a 64-bit block and the footer rule.
std::string tzif(char version, const TzifBlock& old, const TzifBlock& block = {},
                 const std::string& footer = "") {
    std::string bytes;
    const auto put = [&bytes](std::uint64_t value, int size) {
        for (int shift = (size - 1) * 8; shift >= 0; shift -= 8) {
            bytes += static_cast<char>((value >> shift) & 0xFFu);
        }
    };
    const auto putBlock = [&](const TzifBlock& b, int timeSize) {
        bytes += "TZif";
        bytes += version;
        bytes.append(15, '\0');
        for (const std::size_t count : {std::size_t{0}, std::size_t{0}, std::size_t{0}, b.times.size(),
                                        b.types.size(), std::size_t{4}}) {
            put(count, 4);
        }
        for (const auto time : b.times) {
            put(static_cast<std::uint64_t>(time), timeSize);
        }
        bytes.append(b.typeIndices.begin(), b.typeIndices.end());
        for (const auto& type : b.types) {
            put(static_cast<std::uint32_t>(type.offset), 4);
            bytes += static_cast<char>(type.daylight);
            bytes += static_cast<char>(type.designation);
        }
        bytes.append("ABC", 4);
    };
    putBlock(old, 4);
    if (version != '\0') {
        putBlock(block, 8);
        bytes += '\n' + footer + '\n';
    }
    return bytes;
}

const sys_seconds winter = at(2025y / January / 15, 12h);
const sys_seconds summer = at(2025y / July / 15, 12h);

TEST(TimeZoneRules, AgreesWithTheCLibraryOnTheSystemZones) {
    for (const char* id : systemZones) {
        const auto zone = TimeZoneRules::named(id);
        ASSERT_TRUE(zone) << id;
        expectSameAsLibc(*zone, id);
    }
}

TEST(TimeZoneRules, AgreesWithTheCLibraryOnSlimFiles) {
    const fs::path source = "/usr/share/zoneinfo/tzdata.zi";
    const fs::path zic = fs::exists("/usr/sbin/zic") ? "/usr/sbin/zic" : "/usr/bin/zic";
    if (!fs::exists(source) || !fs::exists(zic)) {
        GTEST_SKIP() << "needs zic and tzdata.zi";
    }
    const TemporaryDirectory directory;
    const std::string command =
        zic.string() + " -b slim -d " + directory.path().string() + ' ' + source.string();
    ASSERT_EQ(std::system(command.c_str()), 0);
    // Slim files leave the years that the footer rule describes to it.
    ASSERT_LT(fs::file_size(directory.path() / "Europe/Berlin"),
              fs::file_size("/usr/share/zoneinfo/Europe/Berlin") / 2);
    for (const char* id : systemZones) {
        const auto zone = [&] {
            const ScopedVariable zoneDirectory("TZDIR", directory.path().c_str());
            return TimeZoneRules::named(id);
        }();
        ASSERT_TRUE(zone) << id;
        expectSameAsLibc(*zone, id);
    }
}

TEST(TimeZoneRules, PosixRulesInTzAgreeWithTheCLibrary) {
    for (const char* rule :
         {"UTC0", "<+0530>-5:30", "CET-1CEST,M3.5.0,M10.5.0/3", "AEST-10AEDT,M10.1.0,M4.1.0/3",
          "<+1030>-10:30<+11>-11,M10.1.0,M4.1.0", "<+1245>-12:45<+1345>,M9.5.0/2:45,M4.1.0/3:45",
          "NST3:30NDT,M3.2.0,M11.1.0", "IST-1GMT0,M10.5.0,M3.5.0/1", "<-02>2<-01>,M3.5.0/-1,M10.5.0/0",
          "EET-2EEST,M3.5.4/24,M10.5.5/1", "<+00>0<+02>-2,M3.5.0/1,M10.5.0/3", "ABC3DEF,J60/2,J300/2",
          "ABC3DEF,59/2,299/2", "ABC+4:30:15DEF2:15,M4.1.1/26:30,M9.5.6/-3:15"}) {
        // The C library takes the rule's dates of 1970 for all earlier years.
        expectSameAsLibc(hostWith(rule), rule, 1970y / 1 / 1);
    }
}

TEST(TimeZoneRules, PosixRulesDefaultToAnHourAheadOnUnitedStatesDatesAndMayKeepDaylightTimeAllYear) {
    const auto american = hostWith("ABC5DEF");
    EXPECT_EQ(american.offsetAt(at(2025y / March / 9, 7h) - 1s), -5h);
    EXPECT_EQ(american.offsetAt(at(2025y / March / 9, 7h)), -4h);
    EXPECT_EQ(american.offsetAt(at(2025y / November / 2, 6h) - 1s), -4h);
    EXPECT_EQ(american.offsetAt(at(2025y / November / 2, 6h)), -5h);

    const auto permanent = hostWith("ABC5DEF,0/0,J365/25");
    for (const auto instant : {at(2024y / December / 31, 23h), at(2025y / January / 1, 4h),
                               at(2025y / January / 1, 5h), summer, at(2028y / December / 31, 12h)}) {
        EXPECT_EQ(permanent.offsetAt(instant), -4h);
    }
}

TEST(TimeZoneRules, HostFollowsTzLikeTheCLibrary) {
    expectSameAsLibc(hostWith(nullptr), nullptr);
    for (const char* tz : {"Europe/Berlin", ":Europe/Berlin", "/usr/share/zoneinfo/Europe/Berlin",
                           ":/usr/share/zoneinfo/Europe/Berlin", ":CET-1CEST,M3.5.0,M10.5.0/3"}) {
        EXPECT_EQ(hostWith(tz).offsetAt(summer), 2h) << tz;
    }
    // Empty values, unknown zones and malformed rules mean UTC (where the C library reads what it can).
    const char* const utcCases[] = {"",
                                    ":",
                                    "Nowhere/Zone",
                                    "ABC-1DEF,M3.5.0",
                                    "ABC-1DEF,M13.5.0,M10.5.0",
                                    "ABC-1DEF,M3.6.0,M10.5.0",
                                    "ABC-1DEF,M3.5.7,M10.5.0",
                                    "ABC-1DEF,J0,J300",
                                    "ABC-1DEF,366,300",
                                    "ABC-1DEF,M3.5.0/168,M10.5.0",
                                    "ABC-1DEF,M3.5.0,M10.5.0/",
                                    "ABC-1DEF,M3.5.0,M10.5.0x",
                                    "ABC-1DE,M3.5.0,M10.5.0",
                                    "ABC-25",
                                    "ABC-1:60",
                                    "ABC-",
                                    "AB-1",
                                    "<ABC-1",
                                    "<AB>-1"};
    for (const char* tz : utcCases) {
        const auto zone = hostWith(tz);
        EXPECT_EQ(zone.offsetAt(winter), 0s) << tz;
        EXPECT_EQ(zone.offsetAt(summer), 0s) << tz;
    }
}

TEST(TimeZoneRules, ReadsEachTzifVersion) {
    const TemporaryDirectory directory;
    const ScopedVariable zoneDirectory("TZDIR", directory.path().c_str());
    // Before the first transition the first standard-time type applies, even when it is not type 0.
    writeFile(directory.path() / "v1", tzif('\0', {{1'000'000'000}, {2}, {{3600, 1}, {7200}, {10800}}}));
    // The 64-bit block rules, not the version 1 block before it.
    writeFile(directory.path() / "v2",
              tzif('2', {}, {{-5'000'000'000, 1'000'000'000}, {1, 0}, {{3600}, {-7200}}}, "ABC-3"));
    writeFile(directory.path() / "v3", tzif('3', {}, {{1'000'000'000}, {1}, {{3600}, {7200}}}, ""));
    writeFile(directory.path() / "v4", tzif('4', {}, {{}, {}, {{3600}}}, "CET-1CEST,M3.5.0,M10.5.0/3"));

    const auto offset = [](const char* id, sys_seconds instant) {
        const auto zone = TimeZoneRules::named(id);
        return zone ? zone->offsetAt(instant) : -99h;
    };
    EXPECT_EQ(offset("v1", at(1990y / 1 / 1)), 2h);
    EXPECT_EQ(offset("v1", at(2300y / 1 / 1)), 3h);
    EXPECT_EQ(offset("v2", at(1700y / 1 / 1)), 1h);
    EXPECT_EQ(offset("v2", at(1990y / 1 / 1)), -2h);
    EXPECT_EQ(offset("v2", summer), 3h);
    // An empty footer leaves the last type in force; a footer without transitions rules throughout.
    EXPECT_EQ(offset("v3", at(2300y / 1 / 1)), 2h);
    EXPECT_EQ(offset("v4", winter), 1h);
    EXPECT_EQ(offset("v4", at(1900y / July / 1)), 2h);
}

TEST(TimeZoneRules, RejectsMalformedFilesAndUnsafeIds) {
    const TemporaryDirectory directory;
    const ScopedVariable zoneDirectory("TZDIR", (directory.path() / "zones").c_str());
    const auto named = [&](const std::string& bytes) {
        writeFile(directory.path() / "zones/Test", bytes);
        return TimeZoneRules::named("Test").has_value();
    };
    const TzifBlock block{{1'000'000'000}, {1}, {{3600}, {7200, 1}}};
    const std::string footer = "CET-1CEST,M3.5.0,M10.5.0/3";
    const std::string valid = tzif('2', {}, block, footer);
    ASSERT_TRUE(named(valid));
    for (std::size_t size = 0; size < valid.size(); ++size) {
        EXPECT_FALSE(named(valid.substr(0, size))) << size;
    }
    EXPECT_FALSE(named("TZjf" + valid.substr(4)));
    EXPECT_FALSE(named(tzif('2', {}, block, "CET-1CEST,M3.5.0")));
    EXPECT_FALSE(named(tzif('2', {}, {{1'000'000'000}, {2}, block.types}, footer)));
    EXPECT_FALSE(named(tzif('2', {}, {{1'000'000'000, 1'000'000'000}, {1, 1}, block.types}, footer)));
    EXPECT_FALSE(named(tzif('2', {}, {{1'000'000'000}, {1}, {{3600}, {7200, 2}}}, footer)));
    EXPECT_FALSE(named(tzif('2', {}, {{1'000'000'000}, {1}, {{3600}, {7200, 1, 4}}}, footer)));
    EXPECT_FALSE(named(tzif('2', {}, {{}, {}, {}}, footer)));

    writeFile(directory.path() / "outside", valid);
    fs::create_directories(directory.path() / "zones/Folder");
    for (const std::string& id :
         {std::string("Missing"), std::string("Folder"), std::string("../outside"),
          (directory.path() / "outside").string(), std::string("Test\0x", 6), std::string()}) {
        EXPECT_FALSE(TimeZoneRules::named(id)) << id;
    }
}

} // namespace
} // namespace driftmark
