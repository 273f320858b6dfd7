#pragma once

#include "platform/PreferencesStore.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace driftmark {

class Clipboard;
struct ClipboardReading;

// What the clipboard held: each type's bytes, in the order the clipboard listed the types, so that a
// restored clipboard offers them in the same order of preference.
using ClipboardContents = std::vector<std::pair<std::string, Bytes>>;

// Every type of a read that gave bytes (a type listed twice keeps its later bytes); absent when the
// clipboard could not list its types or nothing gave bytes.
std::optional<ClipboardContents> savedClipboardContents(ClipboardReading reading);

// The types in their order, and the same as a list for log lines: "text/plain, image/png".
std::vector<std::string> typesOf(const ClipboardContents& contents);
std::string typeList(const std::vector<std::string>& types);

// Replaces the clipboard with the saved contents; absent contents leave the clipboard as it is.
void restoreClipboardContents(Clipboard& clipboard, const std::optional<ClipboardContents>& saved);

} // namespace driftmark
