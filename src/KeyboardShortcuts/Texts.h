#pragma once

#include <string>
#include <string_view>

namespace driftmark::KeyboardShortcuts {

// The module's user-visible text for a key such as "space_key"; an unknown key is returned as it is.
std::string localizedText(std::string_view key);

// The format with its first "%@" replaced by the argument; a format without "%@" comes back unchanged.
std::string formattedText(std::string_view format, std::string_view argument);

} // namespace driftmark::KeyboardShortcuts
