#include "support/LocaleDateTable.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace driftmark {

namespace {

// Indices into the string pool; plain numbers, so that the table needs no relocations and stays in
// read-only pages that are loaded only where they are read.
struct LocaleDateRow {
    std::uint16_t locale;
    std::uint16_t mediumTime;
    std::array<std::uint16_t, 10> digits;
    std::array<std::uint16_t, 2> dayPeriods;
    std::array<std::uint16_t, 7> weekdays;
    std::array<std::uint16_t, 12> months;
};

#include "LocaleDateTableData.inc"

std::string_view pooled(std::uint16_t index) {
    const std::uint32_t begin = localeDateStringOffsets[index];
    return {localeDatePool + begin, localeDateStringOffsets[index + 1] - begin};
}

template <std::size_t N>
void copyNames(std::array<std::string, N>& names, const std::array<std::uint16_t, N>& indices) {
    std::transform(indices.begin(), indices.end(), names.begin(),
                   [](std::uint16_t index) { return std::string(pooled(index)); });
}

} // namespace

std::optional<LocaleDates> LocaleDateTable::find(std::string_view locale) {
    const auto* const end = std::end(localeDateRows);
    const auto* const row = std::lower_bound(std::begin(localeDateRows), end, locale,
                                             [](const LocaleDateRow& candidate, std::string_view name) {
                                                 return pooled(candidate.locale) < name;
                                             });
    if (row == end || pooled(row->locale) != locale) {
        return std::nullopt;
    }
    LocaleDates dates;
    dates.mediumTimePattern = pooled(row->mediumTime);
    copyNames(dates.names.digits, row->digits);
    copyNames(dates.names.dayPeriods, row->dayPeriods);
    copyNames(dates.names.weekdays, row->weekdays);
    copyNames(dates.names.months, row->months);
    return dates;
}

} // namespace driftmark
