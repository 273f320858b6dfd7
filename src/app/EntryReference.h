#pragma once

#include "model/MenuBarItem.h"
#include "model/Uuid.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace driftmark {

// How a request from outside the program names an entry: by its position in the list, counted from 1 as
// the icons stand in the tray, or by its id. Both the command line and the running program read it, so
// that a name the command line lets through means the same thing on arrival.
class EntryReference {
public:
    // A decimal position from 1 to the most entries there can be, or an id in the canonical form in any
    // letter case; anything else is absent.
    static std::optional<EntryReference> parse(std::string_view text);
    // Why `text` names no entry at all, e.g. "'x' is not an entry: give ...".
    static std::string invalid(std::string_view text);

    // The entry named in the list as it is now, sorted by order; absent when it has no such entry.
    std::optional<MenuBarItem> find(const std::vector<MenuBarItem>& items) const;
    // Why find() found nothing in the list, e.g. "no entry at position 4; there are 3 entries".
    std::string missing(const std::vector<MenuBarItem>& items) const;

private:
    explicit EntryReference(std::variant<std::size_t, Uuid> target)
        : target_(target) {}

    // A position counted from 1, or an id.
    std::variant<std::size_t, Uuid> target_;
};

} // namespace driftmark
