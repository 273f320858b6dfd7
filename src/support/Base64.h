#pragma once

#include "platform/PreferencesStore.h"

#include <optional>
#include <string>
#include <string_view>

namespace driftmark {

// Standard base64 with padding, as the preferences file stores data values.
std::string base64Encode(const Bytes& bytes);
// Absent when the text is not padded base64 of the standard alphabet.
std::optional<Bytes> base64Decode(std::string_view text);

} // namespace driftmark
