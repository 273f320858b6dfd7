#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace driftmark::KeyboardShortcuts {

// UTF-8 helpers with the user-perceived meaning of "character" (a grapheme cluster).
std::size_t characterCount(std::string_view text);
// The first letter of every word upper-cased, the other letters lower-cased: "page up" → "Page Up".
std::string titleCased(std::string_view text);
std::string lowercased(std::string_view text);

} // namespace driftmark::KeyboardShortcuts
