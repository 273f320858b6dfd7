#include "app/ClipboardContents.h"

#include "platform/Clipboard.h"

#include <algorithm>

namespace driftmark {

std::optional<ClipboardContents> saveClipboardContents(const Clipboard& clipboard) {
    const auto types = clipboard.types();
    if (!types) {
        return std::nullopt;
    }
    ClipboardContents saved;
    for (const std::string& type : *types) {
        std::optional<Bytes> bytes = clipboard.data(type);
        if (!bytes) {
            continue;
        }
        const auto earlier = std::find_if(saved.begin(), saved.end(),
                                          [&type](const auto& entry) { return entry.first == type; });
        if (earlier != saved.end()) {
            earlier->second = std::move(*bytes);
        } else {
            saved.emplace_back(type, std::move(*bytes));
        }
    }
    if (saved.empty()) {
        return std::nullopt;
    }
    return saved;
}

void restoreClipboardContents(Clipboard& clipboard, const std::optional<ClipboardContents>& saved) {
    if (!saved) {
        return;
    }
    clipboard.clearContents();
    for (const auto& [type, bytes] : *saved) {
        clipboard.setData(bytes, type);
    }
}

} // namespace driftmark
