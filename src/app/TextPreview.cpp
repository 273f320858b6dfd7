#include "app/TextPreview.h"

#include "model/LeadingCharacters.h"

namespace driftmark {

std::string textPreview(std::string_view text, std::size_t limit, std::string_view placeholder) {
    if (text.empty()) {
        return std::string(placeholder);
    }
    std::string preview = leadingCharacters(text, limit);
    if (preview.size() < text.size()) {
        preview += "...";
    }
    return preview;
}

} // namespace driftmark
