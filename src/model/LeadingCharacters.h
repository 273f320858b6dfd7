#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace driftmark {

// The first `count` user-perceived characters (extended grapheme clusters) of UTF-8 text, so that a
// flag, an emoji family or a letter with combining marks counts as one. Shorter text is returned whole.
std::string leadingCharacters(std::string_view text, std::size_t count);

} // namespace driftmark
