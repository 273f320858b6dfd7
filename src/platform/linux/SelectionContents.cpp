#include "platform/linux/SelectionContents.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <malloc.h>
#include <string_view>

namespace driftmark {

namespace {

constexpr std::string_view plainText = "text/plain";
constexpr std::string_view plainTextUtf8 = "text/plain;charset=utf-8";

// Handing freed memory back to the system pays only after contents of this size.
constexpr std::size_t largeContents = std::size_t{1} << 20;

// Large blocks freed after a large selection stay with the process unless they are handed back; malloc
// keeps them once its thresholds have grown with the large allocations. Done on the next turn of the
// event loop, by when the caller has dropped its own copy as well.
void returnFreedMemoryLater() {
    QTimer::singleShot(0, QCoreApplication::instance(), [] { ::malloc_trim(0); });
}

} // namespace

void SelectionContents::clear() {
    entries_.clear();
}

void SelectionContents::write(const std::string& type, const QByteArray& bytes) {
    const auto existing = std::find_if(entries_.begin(), entries_.end(),
                                       [&](const auto& entry) { return entry.first == type; });
    if (existing != entries_.end()) {
        existing->second = bytes;
    } else {
        entries_.emplace_back(type, bytes);
    }
}

void SelectionContents::writeText(const std::string& text) {
    const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    write(std::string(plainText), bytes);
    write(std::string(plainTextUtf8), bytes);
}

std::optional<std::string> SelectionContents::text() const {
    for (const std::string_view type : {plainTextUtf8, plainText}) {
        const auto found = std::find_if(entries_.begin(), entries_.end(),
                                        [type](const auto& entry) { return entry.first == type; });
        if (found != entries_.end()) {
            return found->second.toStdString();
        }
    }
    return std::nullopt;
}

ClipboardReading SelectionContents::reading() const {
    ClipboardReading reading;
    reading.listed = true;
    for (const auto& [type, bytes] : entries_) {
        reading.contents.emplace_back(type, Bytes(bytes.begin(), bytes.end()));
    }
    return reading;
}

void SelectionContents::published() const {
    if (size() >= largeContents) {
        returnFreedMemoryLater();
    }
}

void SelectionContents::drop() {
    const std::size_t dropped = size();
    entries_.clear();
    entries_.shrink_to_fit();
    if (dropped >= largeContents) {
        returnFreedMemoryLater();
    }
}

std::size_t SelectionContents::size() const {
    std::size_t size = 0;
    for (const auto& entry : entries_) {
        size += static_cast<std::size_t>(entry.second.size());
    }
    return size;
}

} // namespace driftmark
