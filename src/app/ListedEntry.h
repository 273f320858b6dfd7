#pragma once

#include <cstdint>
#include <string>

namespace driftmark {

// One entry as a listing for another program shows it.
struct ListedEntry {
    std::string id;
    std::string title;
    // Counted from 1, as the requests that name an entry by its position count.
    std::int32_t position = 0;
    // As the settings window shows it, e.g. "⌃⌥K"; empty when the entry has none.
    std::string shortcut;

    // Position, id, title and shortcut, separated by tabs. A tab or line break in a title would break the
    // columns for a script reading them, so each control character there becomes a space.
    std::string line() const;

    friend bool operator==(const ListedEntry&, const ListedEntry&) = default;
};

} // namespace driftmark
