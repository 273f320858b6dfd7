#pragma once

#include "platform/PreferencesStore.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace driftmark {

// The preferences file is one JSON object; each member holds one value as an object with a single
// member naming its kind: {"data": "<base64>"}, {"string": "..."}, {"bool": true}, {"integer": 42},
// {"double": 800.0}.
std::string encodePreferences(const std::map<std::string, PreferenceValue>& values);
// Absent when the text is not such an object, so that a damaged file is never half-read.
std::optional<std::map<std::string, PreferenceValue>> decodePreferences(std::string_view text);

} // namespace driftmark
