#include "app/ListedEntry.h"

#include <algorithm>

namespace driftmark {

namespace {

std::string oneColumn(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; },
        ' ');
    return text;
}

} // namespace

std::string ListedEntry::line() const {
    return std::to_string(position) + '\t' + id + '\t' + oneColumn(title) + '\t' + oneColumn(shortcut);
}

} // namespace driftmark
