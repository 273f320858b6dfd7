#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace driftmark {

// How a settings pane shows an entry's text in a line or two: the placeholder for an empty text,
// otherwise its first `limit` characters, with "..." when there are more.
std::string textPreview(std::string_view text, std::size_t limit, std::string_view placeholder);

} // namespace driftmark
