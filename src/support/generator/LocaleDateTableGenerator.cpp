// Writes the table of locale date names and medium time patterns that the log formats local times with,
// read from the ICU the program is built against. A locale goes into the table only when the log's own
// formatter gives, for a spread of instants, exactly what ICU gives for it; the others stay with ICU.
//
//   driftmark-locale-date-table OUTPUT

#include "support/CivilTime.h"
#include "support/DateNames.h"
#include "support/DatePattern.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unicode/datefmt.h>
#include <unicode/dtfmtsym.h>
#include <unicode/locid.h>
#include <unicode/numsys.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/uversion.h>
#include <vector>

namespace {

using driftmark::CivilTime;
using driftmark::DateNames;
using driftmark::DatePattern;

constexpr const char* headerPattern = "EEEE, d MMMM yyyy";

std::string utf8(const icu::UnicodeString& text) {
    std::string out;
    text.toUTF8String(out);
    return out;
}

struct Row {
    std::string locale;
    std::string mediumTime;
    DateNames names;
};

// Each weekday, each month, both day periods, one- and two-digit days, hours and minutes, midnight and
// noon, and years before and after 2000.
std::vector<std::chrono::system_clock::time_point> sampleInstants() {
    using namespace std::chrono;
    std::vector<system_clock::time_point> instants;
    for (int month = 1; month <= 12; ++month) {
        const sys_days date = year{2025} / month / (month * 2 + 1);
        for (const auto time : {0h + 0min + 0s, 1h + 5min + 9s, 9h + 59min + 59s, 12h + 0min + 0s,
                                13h + 7min + 3s, 23h + 45min + 30s}) {
            instants.push_back(date + time);
        }
    }
    for (int day = 1; day <= 7; ++day) {
        instants.push_back(sys_days{year{1999} / December / (24 + day)} + 20h);
    }
    return instants;
}

std::unique_ptr<icu::DateFormat> inUtc(icu::DateFormat* format) {
    std::unique_ptr<icu::DateFormat> owned(format);
    if (owned) {
        owned->adoptTimeZone(icu::TimeZone::createTimeZone("Etc/UTC"));
    }
    return owned;
}

std::optional<std::array<std::string, 10>> digitsOf(const icu::Locale& locale) {
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::NumberingSystem> numbers(icu::NumberingSystem::createInstance(locale, status));
    if (U_FAILURE(status) || !numbers || numbers->isAlgorithmic() || numbers->getRadix() != 10) {
        return std::nullopt;
    }
    const icu::UnicodeString description = numbers->getDescription();
    std::array<std::string, 10> digits;
    int32_t index = 0;
    for (std::string& digit : digits) {
        if (index >= description.length()) {
            return std::nullopt;
        }
        const int32_t next = description.moveIndex32(index, 1);
        digit = utf8(description.tempSubStringBetween(index, next));
        index = next;
    }
    return digits;
}

// The locale's names and medium time pattern, when the log's formatter reproduces ICU's output with them.
std::optional<Row> rowFor(const std::string& id) {
    const icu::Locale locale(id.c_str());
    if (locale.isBogus()) {
        return std::nullopt;
    }
    // The program looks a host setting such as "de_DE.UTF-8" up by its name without the codeset; the
    // table holds only names that ICU's own reading of such a setting would give.
    if (std::string(icu::Locale::createCanonical((id + ".UTF-8").c_str()).getName()) != id) {
        return std::nullopt;
    }
    UErrorCode status = U_ZERO_ERROR;
    const auto mediumFormat = inUtc(icu::DateFormat::createTimeInstance(icu::DateFormat::kMedium, locale));
    const auto headerFormat =
        inUtc(new icu::SimpleDateFormat(icu::UnicodeString::fromUTF8(headerPattern), locale, status));
    const icu::DateFormatSymbols symbols(locale, status);
    const auto digits = digitsOf(locale);
    const auto* simple = dynamic_cast<const icu::SimpleDateFormat*>(mediumFormat.get());
    if (U_FAILURE(status) || !simple || !headerFormat || !digits) {
        return std::nullopt;
    }

    Row row;
    row.locale = id;
    icu::UnicodeString pattern;
    row.mediumTime = utf8(simple->toPattern(pattern));
    row.names.digits = *digits;
    int32_t count = 0;
    const icu::UnicodeString* periods = symbols.getAmPmStrings(count);
    if (count != 2) {
        return std::nullopt;
    }
    row.names.dayPeriods = {utf8(periods[0]), utf8(periods[1])};
    const icu::UnicodeString* weekdays =
        symbols.getWeekdays(count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::WIDE);
    if (count != 8) { // ICU leaves index 0 empty; Sunday is 1
        return std::nullopt;
    }
    for (std::size_t day = 0; day < 7; ++day) {
        row.names.weekdays[day] = utf8(weekdays[day + 1]);
    }
    const icu::UnicodeString* months =
        symbols.getMonths(count, icu::DateFormatSymbols::FORMAT, icu::DateFormatSymbols::WIDE);
    if (count != 12) {
        return std::nullopt;
    }
    for (std::size_t month = 0; month < 12; ++month) {
        row.names.months[month] = utf8(months[month]);
    }

    const auto medium = DatePattern::parse(row.mediumTime);
    const auto header = DatePattern::parse(headerPattern);
    if (!medium || !header) {
        return std::nullopt;
    }
    for (const auto instant : sampleInstants()) {
        const auto millis = std::chrono::floor<std::chrono::milliseconds>(instant).time_since_epoch().count();
        const CivilTime civil = CivilTime::at(instant, std::chrono::seconds{0});
        icu::UnicodeString expectedTime;
        icu::UnicodeString expectedHeader;
        mediumFormat->format(static_cast<UDate>(millis), expectedTime);
        headerFormat->format(static_cast<UDate>(millis), expectedHeader);
        if (utf8(expectedTime) != medium->format(civil, row.names) ||
            utf8(expectedHeader) != header->format(civil, row.names)) {
            return std::nullopt;
        }
    }
    return row;
}

// ICU's locales, the same without their script where a host setting names them so ("zh_CN" for
// "zh_Hans_CN"), and the POSIX locale that "C" stands for.
std::set<std::string> candidateLocales() {
    std::set<std::string> ids{"en_US_POSIX"};
    int32_t count = 0;
    const icu::Locale* available = icu::Locale::getAvailableLocales(count);
    for (int32_t i = 0; i < count; ++i) {
        ids.insert(available[i].getName());
        const std::string country = available[i].getCountry();
        if (*available[i].getScript() != '\0' && !country.empty()) {
            ids.insert(std::string(available[i].getLanguage()) + "_" + country);
        }
    }
    return ids;
}

// A C++ string literal of the UTF-8 bytes, with every byte outside printable ASCII as an octal escape
// (three digits, so no following character can extend it).
std::string literal(const std::string& text) {
    std::string out = "\"";
    for (const unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7f && c != '?') {
            out += static_cast<char>(c);
        } else {
            const char octal[] = {'\\', static_cast<char>('0' + (c >> 6)),
                                  static_cast<char>('0' + ((c >> 3) & 7)), static_cast<char>('0' + (c & 7)),
                                  '\0'};
            out += octal;
        }
    }
    return out + "\"";
}

class StringPool {
public:
    std::uint16_t index(const std::string& text) {
        const auto [position, added] = indices_.try_emplace(text, static_cast<std::uint16_t>(texts_.size()));
        if (added) {
            texts_.push_back(text);
        }
        return position->second;
    }

    void write(std::ostream& out) const {
        out << "constexpr char localeDatePool[] =\n";
        std::uint32_t offset = 0;
        std::string offsets = "constexpr std::uint32_t localeDateStringOffsets[] = {0";
        for (const std::string& text : texts_) {
            out << "    " << literal(text) << "\n";
            offset += static_cast<std::uint32_t>(text.size());
            offsets += ", " + std::to_string(offset);
        }
        out << "    ;\n" << offsets << "};\n";
    }

private:
    std::map<std::string, std::uint16_t> indices_;
    std::vector<std::string> texts_;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: driftmark-locale-date-table OUTPUT\n";
        return 2;
    }
    std::vector<Row> rows;
    for (const std::string& id : candidateLocales()) {
        if (auto row = rowFor(id)) {
            rows.push_back(std::move(*row));
        }
    }
    std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.locale < b.locale; });

    StringPool pool;
    std::string table = "constexpr LocaleDateRow localeDateRows[] = {\n";
    for (const Row& row : rows) {
        table += "    {" + std::to_string(pool.index(row.locale)) + ", " +
                 std::to_string(pool.index(row.mediumTime)) + ", {";
        const auto list = [&pool, &table](const auto& texts) {
            for (std::size_t i = 0; i < texts.size(); ++i) {
                table += (i == 0 ? "" : ", ") + std::to_string(pool.index(texts[i]));
            }
            table += "}";
        };
        list(row.names.digits);
        table += ", {";
        list(row.names.dayPeriods);
        table += ", {";
        list(row.names.weekdays);
        table += ", {";
        list(row.names.months);
        table += "},\n";
    }
    table += "};\n";

    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << "// Generated at build time from ICU " U_ICU_VERSION
           " by LocaleDateTableGenerator; not edited by hand.\n"
        << "// " << rows.size() << " locales.\n";
    pool.write(out);
    out << table;
    out.close();
    if (!out) {
        std::cerr << "driftmark-locale-date-table: cannot write " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
