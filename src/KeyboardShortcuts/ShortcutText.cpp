#include "KeyboardShortcuts/ShortcutText.h"

#include "KeyboardShortcuts/SpecialKey.h"
#include "KeyboardShortcuts/UnicodeText.h"
#include "platform/KeyboardLayout.h"

namespace driftmark::KeyboardShortcuts {

std::optional<std::string> keyToCharacter(std::int64_t keyCode, const KeyboardLayout& layout) {
    if (specialKey(Key{keyCode}) || keyCode < 0 || keyCode > 0xFFFF) {
        return std::nullopt;
    }
    auto text = layout.keyCapText(static_cast<std::uint16_t>(keyCode));
    if (!text || characterCount(*text) != 1) {
        return std::nullopt;
    }
    return text;
}

std::string presentableDescription(const Shortcut& shortcut, const KeyboardLayout& layout) {
    std::string text = presentableDescription(shortcut.modifiers());
    if (const auto special = specialKey(shortcut.key())) {
        return text + presentableDescription(*special);
    }
    return text + titleCased(keyToCharacter(shortcut.carbonKeyCode, layout).value_or("\uFFFD"));
}

std::optional<std::string> nsMenuItemKeyEquivalent(const Shortcut& shortcut, const KeyboardLayout& layout) {
    if (const auto special = specialKey(shortcut.key())) {
        return appKitMenuItemKeyEquivalent(*special);
    }
    return keyToCharacter(shortcut.carbonKeyCode, layout);
}

} // namespace driftmark::KeyboardShortcuts
