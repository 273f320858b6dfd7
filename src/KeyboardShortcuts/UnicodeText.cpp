#include "KeyboardShortcuts/UnicodeText.h"

#include <memory>
#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

namespace driftmark::KeyboardShortcuts {

namespace {

icu::UnicodeString unicode(std::string_view text) {
    return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

std::string utf8(const icu::UnicodeString& text) {
    std::string result;
    text.toUTF8String(result);
    return result;
}

} // namespace

std::size_t characterCount(std::string_view text) {
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<icu::BreakIterator> characters(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_FAILURE(status)) {
        // Without the rules, bytes: a plain ASCII key still counts as one character.
        return text.size();
    }
    const icu::UnicodeString unicodeText = unicode(text);
    characters->setText(unicodeText);
    std::size_t count = 0;
    for (characters->first(); characters->next() != icu::BreakIterator::DONE;) {
        ++count;
    }
    return count;
}

std::string titleCased(std::string_view text) {
    icu::UnicodeString unicodeText = unicode(text);
    return utf8(unicodeText.toTitle(nullptr, icu::Locale::getRoot()));
}

std::string lowercased(std::string_view text) {
    icu::UnicodeString unicodeText = unicode(text);
    return utf8(unicodeText.toLower(icu::Locale::getRoot()));
}

} // namespace driftmark::KeyboardShortcuts
