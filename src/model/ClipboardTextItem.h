#pragma once

#include "model/Uuid.h"
#include "platform/PreferencesStore.h"

#include <optional>
#include <string>
#include <vector>

namespace driftmark {

// An entry as earlier versions stored it under "clipboardTextItems"; only read, once, for the migration.
struct ClipboardTextItem {
    Uuid id;
    std::string text;
    bool isActive = false;
    // Seconds since 2001-01-01 00:00:00 UTC.
    double createdAt = 0;
};

// Absent unless the bytes are a JSON array whose every element has all four keys with the right kinds.
std::optional<std::vector<ClipboardTextItem>> decodeClipboardTextItems(const Bytes& bytes);

} // namespace driftmark
