#include "model/MenuBarItem.h"

#include "model/LeadingCharacters.h"
#include "model/ReferenceDate.h"

#include <utility>

namespace driftmark {

// Parameters are named given* here because the fields carry the plain names.

MenuBarItem::MenuBarItem(std::string givenText, std::string givenTitle, const Color& color,
                         bool givenUsesSmartPaste, std::int64_t givenOrder)
    : MenuBarItem(Uuid::random(), {}, std::move(givenTitle), CodableColor::fromPlatformColor(color),
                  givenUsesSmartPaste, false, std::nullopt, givenOrder,
                  secondsSinceReferenceDate(std::chrono::system_clock::now())) {
    if (title.empty()) {
        title = leadingCharacters(givenText, generatedTitleLength);
    }
    text = std::move(givenText);
}

MenuBarItem::MenuBarItem(Uuid id, std::string givenText, std::string givenTitle, CodableColor givenIconColor,
                         bool givenUsesSmartPaste, bool givenPrependNewline,
                         std::optional<std::string> givenKeyboardShortcutName, std::int64_t givenOrder,
                         double givenCreatedAt)
    : id_(id)
    , text(std::move(givenText))
    , title(std::move(givenTitle))
    , iconColor(givenIconColor)
    , usesSmartPaste(givenUsesSmartPaste)
    , prependNewline(givenPrependNewline)
    , keyboardShortcutName(std::move(givenKeyboardShortcutName))
    , order(givenOrder)
    , createdAt(givenCreatedAt) {}

} // namespace driftmark
