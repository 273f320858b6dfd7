#include "KeyboardShortcuts/Texts.h"

#include <map>

namespace driftmark::KeyboardShortcuts {

std::string localizedText(std::string_view key) {
    static const std::map<std::string_view, std::string_view> texts{
        {"space_key", "space"},
    };
    const auto found = texts.find(key);
    return std::string(found == texts.end() ? key : found->second);
}

} // namespace driftmark::KeyboardShortcuts
