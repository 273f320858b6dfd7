#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace driftmark {

inline constexpr std::size_t reportExcerptCharacters = 100;

// How a report quotes a value of any length: at most the first 100 characters, and when there is more,
// "…" and the whole length in bytes, as in `{"Deep": [[[[[… (600011 bytes)`. Control characters and
// bytes that are not UTF-8 show as "?", so that the quote stays on its log line.
std::string reportExcerpt(std::string_view text);

} // namespace driftmark
