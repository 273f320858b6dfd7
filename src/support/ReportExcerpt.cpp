#include "support/ReportExcerpt.h"

namespace driftmark {

namespace {

// The length of the UTF-8 sequence that starts at `at`, or 0 when none does.
std::size_t sequenceLength(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    if (lead < 0x80) {
        length = 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
    }
    if (length == 0 || at + length > text.size()) {
        return 0;
    }
    for (std::size_t next = at + 1; next < at + length; ++next) {
        if ((static_cast<unsigned char>(text[next]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

bool isControl(std::string_view sequence) {
    return sequence.size() == 1 && (static_cast<unsigned char>(sequence[0]) < 0x20 || sequence[0] == 0x7F);
}

} // namespace

std::string reportExcerpt(std::string_view text) {
    std::string excerpt;
    std::size_t at = 0;
    for (std::size_t characters = 0; at < text.size() && characters < reportExcerptCharacters; ++characters) {
        const std::size_t length = sequenceLength(text, at);
        const std::string_view sequence = text.substr(at, length == 0 ? 1 : length);
        excerpt += length == 0 || isControl(sequence) ? std::string_view("?") : sequence;
        at += sequence.size();
    }
    if (at < text.size()) {
        excerpt += "… (" + std::to_string(text.size()) + " bytes)";
    }
    return excerpt;
}

} // namespace driftmark
