#include "app/EntryReference.h"

#include "model/MenuItemManager.h"

#include <algorithm>
#include <charconv>

namespace driftmark {

std::optional<EntryReference> EntryReference::parse(std::string_view text) {
    if (const auto id = Uuid::parse(text)) {
        return EntryReference(*id);
    }
    // Digits only: from_chars alone would take a sign.
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    std::size_t position = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), position);
    if (error != std::errc() || end != text.data() + text.size() || position < 1 ||
        position > MenuItemManager::maxItems) {
        return std::nullopt;
    }
    return EntryReference(position);
}

std::string EntryReference::invalid(std::string_view text) {
    return "'" + std::string(text) + "' is not an entry: give its position, 1 to " +
           std::to_string(MenuItemManager::maxItems) + ", or its id";
}

std::optional<MenuBarItem> EntryReference::find(const std::vector<MenuBarItem>& items) const {
    if (const auto* position = std::get_if<std::size_t>(&target_)) {
        if (*position > items.size()) {
            return std::nullopt;
        }
        return items[*position - 1];
    }
    const Uuid& id = std::get<Uuid>(target_);
    const auto found =
        std::find_if(items.begin(), items.end(), [&id](const MenuBarItem& item) { return item.id() == id; });
    if (found == items.end()) {
        return std::nullopt;
    }
    return *found;
}

std::string EntryReference::missing(const std::vector<MenuBarItem>& items) const {
    if (const auto* position = std::get_if<std::size_t>(&target_)) {
        const std::string count =
            items.size() == 1 ? "there is 1 entry" : "there are " + std::to_string(items.size()) + " entries";
        return "no entry at position " + std::to_string(*position) + "; " + count;
    }
    return "no entry with the id " + std::get<Uuid>(target_).toString();
}

} // namespace driftmark
