#include "app/ClipboardContents.h"

#include "platform/Clipboard.h"

#include <algorithm>

namespace driftmark {

std::optional<ClipboardContents> savedClipboardContents(ClipboardReading reading) {
    if (!reading.listed) {
        return std::nullopt;
    }
    ClipboardContents saved;
    for (auto& [type, bytes] : reading.contents) {
        const auto earlier = std::find_if(saved.begin(), saved.end(),
                                          [&type](const auto& entry) { return entry.first == type; });
        if (earlier != saved.end()) {
            earlier->second = std::move(bytes);
        } else {
            saved.emplace_back(std::move(type), std::move(bytes));
        }
    }
    if (saved.empty()) {
        return std::nullopt;
    }
    return saved;
}

std::vector<std::string> typesOf(const ClipboardContents& contents) {
    std::vector<std::string> types;
    for (const auto& entry : contents) {
        types.push_back(entry.first);
    }
    return types;
}

std::string typeList(const std::vector<std::string>& types) {
    std::string list;
    for (const std::string& type : types) {
        list += (list.empty() ? "" : ", ") + type;
    }
    return list;
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
