#include "support/TimeZoneRules.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace driftmark {

namespace {

using namespace std::chrono;

// Real TZif files take a few kilobytes; the cap bounds what a wrong path in $TZ can make us read.
constexpr std::size_t maximumFileSize = 1 << 20;

std::optional<std::string> readSmallFile(const char* path) {
    // Non-blocking so that a FIFO named by $TZ cannot stall the caller; only regular files are read.
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return std::nullopt;
    }
    std::optional<std::string> content;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
        static_cast<std::uintmax_t>(status.st_size) <= maximumFileSize) {
        std::string bytes;
        std::array<char, 4096> buffer{};
        bool failed = false;
        while (bytes.size() <= maximumFileSize) {
            const ssize_t got = ::read(fd, buffer.data(), buffer.size());
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got < 0) {
                failed = true;
                break;
            }
            if (got == 0) {
                break;
            }
            bytes.append(buffer.data(), static_cast<std::size_t>(got));
        }
        if (!failed && bytes.size() <= maximumFileSize) {
            content = std::move(bytes);
        }
    }
    ::close(fd);
    return content;
}

// Ids name files below the zone directory, so anything that could leave it or reach odd files is refused.
bool isSafeId(std::string_view id) {
    if (id.empty() || id.size() > 255 || id.front() == '/' || id.find("..") != std::string_view::npos) {
        return false;
    }
    return std::all_of(id.begin(), id.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/' ||
               c == '_' || c == '-' || c == '+' || c == '.';
    });
}

std::uint64_t readBigEndian(std::string_view bytes, std::size_t at, std::size_t size) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
        value = (value << 8u) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

std::int64_t readSigned(std::string_view bytes, std::size_t at, std::size_t size) {
    const std::uint64_t value = readBigEndian(bytes, at, size);
    if (size == 4) {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    }
    return static_cast<std::int64_t>(value);
}

// The counts of a TZif header, in file order.
struct TzifCounts {
    std::uint64_t utIndicators = 0;
    std::uint64_t standardIndicators = 0;
    std::uint64_t leapSeconds = 0;
    std::uint64_t transitions = 0;
    std::uint64_t types = 0;
    std::uint64_t designationBytes = 0;
};

// The size of the data block after a header, with times of timeSize bytes.
std::uint64_t blockSize(const TzifCounts& c, std::uint64_t timeSize) {
    return c.transitions * (timeSize + 1) + c.types * 6 + c.designationBytes +
           c.leapSeconds * (timeSize + 4) + c.standardIndicators + c.utIndicators;
}

constexpr std::size_t headerSize = 44;

std::optional<TzifCounts> readHeader(std::string_view bytes, std::size_t at) {
    if (bytes.size() < at || bytes.size() - at < headerSize || bytes.substr(at, 4) != "TZif") {
        return std::nullopt;
    }
    const auto count = [&](std::size_t index) { return readBigEndian(bytes, at + 20 + index * 4, 4); };
    return TzifCounts{count(0), count(1), count(2), count(3), count(4), count(5)};
}

// Reads up to maxDigits decimal digits, at least one.
std::optional<int> readNumber(std::string_view& text, std::size_t maxDigits) {
    std::size_t digits = 0;
    int value = 0;
    while (digits < text.size() && digits < maxDigits && text[digits] >= '0' && text[digits] <= '9') {
        value = value * 10 + (text[digits] - '0');
        ++digits;
    }
    text.remove_prefix(digits);
    return digits > 0 ? std::optional<int>(value) : std::nullopt;
}

std::optional<int> readNumberIn(std::string_view& text, int min, int max) {
    const auto value = readNumber(text, 3);
    return value && *value >= min && *value <= max ? value : std::nullopt;
}

// Reads "[+-]hh[:mm[:ss]]" in seconds, hours at most maxHours.
std::optional<std::int32_t> parseDuration(std::string_view& text, int maxHours) {
    int sign = 1;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        sign = text.front() == '-' ? -1 : 1;
        text.remove_prefix(1);
    }
    const auto hours = readNumberIn(text, 0, maxHours);
    if (!hours) {
        return std::nullopt;
    }
    std::int32_t seconds = *hours * 3600;
    for (const int scale : {60, 1}) {
        if (text.empty() || text.front() != ':') {
            break;
        }
        text.remove_prefix(1);
        const auto part = readNumber(text, 2);
        if (!part || *part > 59) {
            return std::nullopt;
        }
        seconds += *part * scale;
    }
    return sign * seconds;
}

// Reads a zone abbreviation: three or more letters, or "<...>" whose content may also hold digits and signs.
bool skipName(std::string_view& text) {
    const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    const auto isDigitOrSign = [](char c) { return (c >= '0' && c <= '9') || c == '+' || c == '-'; };
    const bool quoted = !text.empty() && text.front() == '<';
    std::size_t length = quoted ? 1 : 0;
    while (length < text.size() && (isLetter(text[length]) || (quoted && isDigitOrSign(text[length])))) {
        ++length;
    }
    const std::size_t nameLength = quoted ? length - 1 : length;
    if (nameLength < 3) {
        return false;
    }
    if (quoted) {
        if (length == text.size() || text[length] != '>') {
            return false;
        }
        ++length;
    }
    text.remove_prefix(length);
    return true;
}

} // namespace

std::optional<TimeZoneRules> TimeZoneRules::named(std::string_view id) {
    if (!isSafeId(id)) {
        return std::nullopt;
    }
    const char* directory = std::getenv("TZDIR");
    std::string path = directory != nullptr && *directory != '\0' ? directory : "/usr/share/zoneinfo";
    path += '/';
    path += id;
    return fromPath(path);
}

TimeZoneRules TimeZoneRules::host() {
    const char* variable = std::getenv("TZ");
    if (variable == nullptr) {
        return fromPath("/etc/localtime").value_or(utc());
    }
    std::string_view value = variable;
    // A leading colon is the C library's way of naming a file; it still falls back to a rule after it.
    if (!value.empty() && value.front() == ':') {
        value.remove_prefix(1);
    }
    if (value.empty()) {
        return utc();
    }
    if (auto zone = value.front() == '/' ? fromPath(value) : named(value)) {
        return std::move(*zone);
    }
    if (auto rule = Rule::parse(value)) {
        TimeZoneRules zone;
        zone.rule_ = *rule;
        return zone;
    }
    return utc();
}

TimeZoneRules TimeZoneRules::utc() {
    return TimeZoneRules{};
}

seconds TimeZoneRules::offsetAt(sys_seconds instant) const {
    const std::int64_t time = instant.time_since_epoch().count();
    if (transitions_.empty()) {
        return seconds{rule_ ? rule_->offsetAt(time) : initialOffset_};
    }
    if (time < transitions_.front()) {
        return seconds{initialOffset_};
    }
    if (rule_ && time >= transitions_.back()) {
        return seconds{rule_->offsetAt(time)};
    }
    const auto next = std::upper_bound(transitions_.begin(), transitions_.end(), time);
    return seconds{offsets_[static_cast<std::size_t>(next - transitions_.begin()) - 1]};
}

std::optional<TimeZoneRules> TimeZoneRules::fromPath(std::string_view path) {
    const auto bytes = readSmallFile(std::string(path).c_str());
    if (!bytes) {
        return std::nullopt;
    }
    return fromTzif(*bytes);
}

std::optional<TimeZoneRules> TimeZoneRules::fromTzif(std::string_view bytes) {
    auto counts = readHeader(bytes, 0);
    if (!counts) {
        return std::nullopt;
    }
    std::size_t at = headerSize;
    std::uint64_t timeSize = 4;
    // From version 2 on, a second header and data block with 64-bit times follow the version 1 block.
    if (bytes[4] != '\0') {
        const std::uint64_t skipped = blockSize(*counts, 4);
        if (skipped > bytes.size() - at) {
            return std::nullopt;
        }
        at += static_cast<std::size_t>(skipped);
        counts = readHeader(bytes, at);
        if (!counts || bytes[at + 4] == '\0') {
            return std::nullopt;
        }
        at += headerSize;
        timeSize = 8;
    }
    const TzifCounts& c = *counts;
    if (blockSize(c, timeSize) > bytes.size() - at || c.types == 0 || c.designationBytes == 0 ||
        (c.utIndicators != 0 && c.utIndicators != c.types) ||
        (c.standardIndicators != 0 && c.standardIndicators != c.types)) {
        return std::nullopt;
    }
    // The block fits in the bytes, so none of the offsets below can overflow.
    const auto size = [](std::uint64_t value) { return static_cast<std::size_t>(value); };
    const std::size_t transitionsAt = at;
    const std::size_t typeIndicesAt = transitionsAt + size(c.transitions * timeSize);
    const std::size_t typesAt = typeIndicesAt + size(c.transitions);
    const std::size_t leapSecondsAt = typesAt + size(c.types * 6 + c.designationBytes);
    const std::size_t indicatorsAt = leapSecondsAt + size(c.leapSeconds * (timeSize + 4));
    const std::size_t footerAt = indicatorsAt + size(c.standardIndicators + c.utIndicators);

    std::vector<std::int32_t> typeOffsets;
    typeOffsets.reserve(size(c.types));
    std::optional<std::size_t> firstStandardType;
    for (std::size_t type = 0; type < c.types; ++type) {
        const std::size_t record = typesAt + type * 6;
        const std::int64_t offset = readSigned(bytes, record, 4);
        const auto daylight = static_cast<unsigned char>(bytes[record + 4]);
        const auto designation = static_cast<unsigned char>(bytes[record + 5]);
        if (offset == std::int64_t{INT32_MIN} || daylight > 1 || designation >= c.designationBytes) {
            return std::nullopt;
        }
        typeOffsets.push_back(static_cast<std::int32_t>(offset));
        if (daylight == 0 && !firstStandardType) {
            firstStandardType = type;
        }
    }
    for (std::size_t i = indicatorsAt; i < footerAt; ++i) {
        if (static_cast<unsigned char>(bytes[i]) > 1) {
            return std::nullopt;
        }
    }

    TimeZoneRules zone;
    zone.transitions_.reserve(size(c.transitions));
    zone.offsets_.reserve(size(c.transitions));
    for (std::size_t i = 0; i < c.transitions; ++i) {
        const std::int64_t time = readSigned(bytes, transitionsAt + i * timeSize, size(timeSize));
        const auto type = static_cast<unsigned char>(bytes[typeIndicesAt + i]);
        if ((!zone.transitions_.empty() && time <= zone.transitions_.back()) || type >= c.types) {
            return std::nullopt;
        }
        zone.transitions_.push_back(time);
        zone.offsets_.push_back(typeOffsets[type]);
    }
    // Before the first transition the first standard-time type applies, as the C library has it.
    zone.initialOffset_ = typeOffsets[firstStandardType.value_or(0)];

    if (timeSize == 8) {
        // The footer: a POSIX rule between newlines for the instants after the last transition.
        if (footerAt >= bytes.size() || bytes[footerAt] != '\n') {
            return std::nullopt;
        }
        const std::size_t end = bytes.find('\n', footerAt + 1);
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string_view text = bytes.substr(footerAt + 1, end - footerAt - 1);
        if (!text.empty()) {
            zone.rule_ = Rule::parse(text);
            if (!zone.rule_) {
                return std::nullopt;
            }
        }
    }
    return zone;
}

std::optional<TimeZoneRules::Rule> TimeZoneRules::Rule::parse(std::string_view text) {
    Rule rule;
    const auto standard = skipName(text) ? parseDuration(text, 24) : std::nullopt;
    if (!standard) {
        return std::nullopt;
    }
    // POSIX counts offsets west of UTC.
    rule.standardOffset = -*standard;
    if (text.empty()) {
        return rule;
    }
    if (!skipName(text)) {
        return std::nullopt;
    }
    rule.daylightOffset = rule.standardOffset + 3600;
    if (!text.empty() && text.front() != ',') {
        const auto daylight = parseDuration(text, 24);
        if (!daylight) {
            return std::nullopt;
        }
        rule.daylightOffset = -*daylight;
    }
    if (text.empty()) {
        // Without dates the United States' rules apply, as in the C library.
        rule.daylightStart = {YearlyChange::Form::MonthWeekDay, 0, 3, 2};
        rule.daylightEnd = {YearlyChange::Form::MonthWeekDay, 0, 11, 1};
        return rule;
    }
    const auto expect = [&text](char c) {
        if (text.empty() || text.front() != c) {
            return false;
        }
        text.remove_prefix(1);
        return true;
    };
    const auto change = [&]() -> std::optional<YearlyChange> {
        YearlyChange result;
        std::optional<int> day;
        if (!expect(',')) {
            return std::nullopt;
        }
        if (expect('J')) {
            result.form = YearlyChange::Form::JulianNoLeap;
            day = readNumberIn(text, 1, 365);
        } else if (expect('M')) {
            const auto month = readNumberIn(text, 1, 12);
            const auto week = month && expect('.') ? readNumberIn(text, 1, 5) : std::nullopt;
            day = week && expect('.') ? readNumberIn(text, 0, 6) : std::nullopt;
            result.month = month.value_or(0);
            result.week = week.value_or(0);
        } else {
            result.form = YearlyChange::Form::ZeroBasedDay;
            day = readNumberIn(text, 0, 365);
        }
        if (!day) {
            return std::nullopt;
        }
        result.day = *day;
        if (expect('/')) {
            // Times may be negative or up to a week, beyond POSIX, as TZif version 3 allows.
            const auto time = parseDuration(text, 167);
            if (!time) {
                return std::nullopt;
            }
            result.time = *time;
        }
        return result;
    };
    const auto start = change();
    const auto end = start ? change() : std::nullopt;
    if (!end || !text.empty()) {
        return std::nullopt;
    }
    rule.daylightStart = *start;
    rule.daylightEnd = *end;
    return rule;
}

std::int32_t TimeZoneRules::Rule::offsetAt(std::int64_t instant) const {
    if (!daylightOffset) {
        return standardOffset;
    }
    // Calendar years are only meaningful within std::chrono's range; beyond it the nearest year decides.
    constexpr std::int64_t limit = std::int64_t{10000} * 366 * 86400;
    const sys_seconds clamped{seconds{std::clamp(instant, -limit, limit)}};
    const int thisYear = static_cast<int>(year_month_day{floor<days>(clamped)}.year());
    // The last change at or before the instant decides. Changes in local time may fall in a neighbouring
    // UTC year (a week off at most), and those two years back always include one before the instant.
    std::int32_t offset = standardOffset;
    std::int64_t latest = INT64_MIN;
    for (int y = thisYear - 2; y <= thisYear + 1; ++y) {
        const std::int64_t start = daylightStart.localTimeIn(y) - standardOffset;
        const std::int64_t end = daylightEnd.localTimeIn(y) - *daylightOffset;
        const std::array<std::pair<std::int64_t, std::int32_t>, 2> changes{
            {{start, *daylightOffset}, {end, standardOffset}}};
        // On equal instants the later one in this order wins: a daylight period of no length stays standard
        // time, and one ending just as the next year's begins (permanent daylight time) stays daylight time.
        for (const auto& [when, after] : changes) {
            if (when <= instant && when >= latest) {
                latest = when;
                offset = after;
            }
        }
    }
    return offset;
}

std::int64_t TimeZoneRules::YearlyChange::localTimeIn(int yearNumber) const {
    const year y{yearNumber};
    sys_days date{};
    switch (form) {
    case Form::JulianNoLeap:
        // Julian days never count 29 February, so from day 60 on a leap year is one day further.
        date = sys_days{y / January / 1} + days{day - 1 + (y.is_leap() && day >= 60 ? 1 : 0)};
        break;
    case Form::ZeroBasedDay:
        date = sys_days{y / January / 1} + days{day};
        break;
    case Form::MonthWeekDay: {
        const std::chrono::month m{static_cast<unsigned>(month)};
        const weekday w{static_cast<unsigned>(day)};
        date = week == 5 ? sys_days{y / m / w[last]} : sys_days{y / m / w[static_cast<unsigned>(week)]};
        break;
    }
    }
    return std::int64_t{date.time_since_epoch().count()} * 86400 + time;
}

} // namespace driftmark
