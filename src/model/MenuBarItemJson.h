#pragma once

#include "model/MenuBarItem.h"
#include "platform/PreferencesStore.h"

#include <optional>
#include <vector>

namespace driftmark {

// The stored form of the entry list: compact UTF-8 JSON, an array of objects keyed by the field names.
// Absent when a text is not valid UTF-8 or a number is not finite; nothing is thrown.
std::optional<Bytes> encodeMenuBarItems(const std::vector<MenuBarItem>& items);

// Absent when the bytes are not such an array or any one element is malformed: a list is read whole or
// not at all. Unknown keys are ignored.
std::optional<std::vector<MenuBarItem>> decodeMenuBarItems(const Bytes& bytes);

} // namespace driftmark
