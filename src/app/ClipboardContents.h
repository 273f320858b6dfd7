#pragma once

#include "platform/PreferencesStore.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace driftmark {

class Clipboard;

// What the clipboard held: each type's bytes, in the order the clipboard listed the types, so that a
// restored clipboard offers them in the same order of preference.
using ClipboardContents = std::vector<std::pair<std::string, Bytes>>;

// Every listed type that gives bytes (a type listed twice keeps its later bytes); absent when the
// clipboard cannot list its types or nothing gave bytes.
std::optional<ClipboardContents> saveClipboardContents(const Clipboard& clipboard);

// Replaces the clipboard with the saved contents; absent contents leave the clipboard as it is.
void restoreClipboardContents(Clipboard& clipboard, const std::optional<ClipboardContents>& saved);

} // namespace driftmark
