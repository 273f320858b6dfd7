#include "model/LeadingCharacters.h"

#include <memory>
#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/utext.h>

namespace driftmark {

namespace {

struct UTextCloser {
    void operator()(UText* text) const { utext_close(text); }
};

} // namespace

std::string leadingCharacters(std::string_view text, std::size_t count) {
    // Walking the UTF-8 bytes directly keeps the boundaries as byte offsets into the original text, so
    // the prefix is a plain substring and nothing is re-encoded.
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UText, UTextCloser> utf8(
        utext_openUTF8(nullptr, text.data(), static_cast<int64_t>(text.size()), &status));
    const std::unique_ptr<icu::BreakIterator> characters(
        icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
    if (U_SUCCESS(status)) {
        characters->setText(utf8.get(), status);
    }
    if (U_FAILURE(status)) {
        // Without the break rules no cut is known to be safe; a whole text is better than a broken one.
        return std::string(text);
    }

    std::int32_t end = characters->first();
    for (std::size_t taken = 0; taken < count; ++taken) {
        const std::int32_t next = characters->next();
        if (next == icu::BreakIterator::DONE) {
            return std::string(text);
        }
        end = next;
    }
    return std::string(text.substr(0, static_cast<std::size_t>(end)));
}

} // namespace driftmark
