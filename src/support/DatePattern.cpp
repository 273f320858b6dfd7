#include "support/DatePattern.h"

#include <string>

namespace driftmark {

namespace {

bool isPatternLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The widths each field is drawn at; anything else is a form (abbreviations, week numbers, flexible day
// periods) that needs the full formatter.
bool supported(char field, unsigned width) {
    switch (field) {
    case 'y':
    case 'S':
        return width <= 9;
    case 'M':
        return width <= 2 || width == 4;
    case 'E':
        return width == 4;
    case 'a':
        return width <= 3;
    case 'd':
    case 'h':
    case 'H':
    case 'K':
    case 'k':
    case 'm':
    case 's':
        return width <= 2;
    default:
        return false;
    }
}

void appendNumber(std::string& out, unsigned long value, unsigned minimumDigits, const DateNames& names) {
    std::string decimal = std::to_string(value);
    if (decimal.size() < minimumDigits) {
        decimal.insert(0, minimumDigits - decimal.size(), '0');
    }
    for (const char digit : decimal) {
        out += names.digits[static_cast<std::size_t>(digit - '0')];
    }
}

unsigned long yearValue(int year) {
    // Unicode's year field counts years of the era: 1 BC is year 1, 2 BC year 2.
    return static_cast<unsigned long>(year > 0 ? year : 1 - year);
}

} // namespace

DatePattern::DatePattern(std::vector<Part> parts)
    : parts_(std::move(parts)) {}

std::optional<DatePattern> DatePattern::parse(std::string_view pattern) {
    std::vector<Part> parts;
    const auto literal = [&parts]() -> std::string& {
        if (parts.empty() || parts.back().field != 0) {
            parts.push_back(Part{});
        }
        return parts.back().text;
    };
    bool quoted = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '\'') {
            if (i + 1 < pattern.size() && pattern[i + 1] == '\'') {
                literal() += '\'';
                ++i;
            } else {
                quoted = !quoted;
            }
            continue;
        }
        if (quoted || !isPatternLetter(c)) {
            literal() += c;
            continue;
        }
        unsigned width = 1;
        while (i + 1 < pattern.size() && pattern[i + 1] == c) {
            ++width;
            ++i;
        }
        if (!supported(c, width)) {
            return std::nullopt;
        }
        parts.push_back(Part{c, width, {}});
    }
    if (quoted) {
        return std::nullopt;
    }
    return DatePattern(std::move(parts));
}

std::string DatePattern::format(const CivilTime& time, const DateNames& names) const {
    std::string out;
    for (const Part& part : parts_) {
        switch (part.field) {
        case 0:
            out += part.text;
            break;
        case 'y':
            if (part.width == 2) {
                appendNumber(out, yearValue(time.year) % 100, 2, names);
            } else {
                appendNumber(out, yearValue(time.year), part.width, names);
            }
            break;
        case 'M':
            if (part.width == 4) {
                out += names.months[time.month - 1];
            } else {
                appendNumber(out, time.month, part.width, names);
            }
            break;
        case 'E':
            out += names.weekdays[time.weekday];
            break;
        case 'a':
            out += names.dayPeriods[time.hour < 12 ? 0 : 1];
            break;
        case 'd':
            appendNumber(out, time.day, part.width, names);
            break;
        case 'h':
            appendNumber(out, time.hour % 12 == 0 ? 12 : time.hour % 12, part.width, names);
            break;
        case 'H':
            appendNumber(out, time.hour, part.width, names);
            break;
        case 'K':
            appendNumber(out, time.hour % 12, part.width, names);
            break;
        case 'k':
            appendNumber(out, time.hour == 0 ? 24 : time.hour, part.width, names);
            break;
        case 'm':
            appendNumber(out, time.minute, part.width, names);
            break;
        case 's':
            appendNumber(out, time.second, part.width, names);
            break;
        case 'S': {
            // A fraction of the second to as many places as letters, cut rather than rounded.
            std::string fraction = std::to_string(time.millisecond);
            fraction.insert(0, 3 - fraction.size(), '0');
            fraction.resize(part.width, '0');
            for (const char digit : fraction) {
                out += names.digits[static_cast<std::size_t>(digit - '0')];
            }
            break;
        }
        default:
            break;
        }
    }
    return out;
}

} // namespace driftmark
