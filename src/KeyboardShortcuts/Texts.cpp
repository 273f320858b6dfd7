#include "KeyboardShortcuts/Texts.h"

#include <map>

namespace driftmark::KeyboardShortcuts {

std::string localizedText(std::string_view key) {
    static const std::map<std::string_view, std::string_view> texts{
        {"space_key", "space"},
        {"record_shortcut", "Record Shortcut"},
        {"press_shortcut", "Press Shortcut"},
        {"keyboard_shortcut_used_by_menu_item",
         "This keyboard shortcut cannot be used as it's already used by the “%@” menu item."},
        {"keyboard_shortcut_disallowed",
         "This keyboard shortcut cannot be used because its only modifier key is Option."},
        {"keyboard_shortcut_used_by_system",
         "This keyboard shortcut is already used by another application."},
        {"keyboard_shortcuts_can_be_changed",
         "While the other application holds it, pressing it will not reach this one. Most applications "
         "and desktops let you change their shortcuts in their keyboard settings."},
        {"keyboard_shortcut_used_by_other_name", "This keyboard shortcut is already used by %@."},
        {"keyboard_shortcut_used_twice", "If you use it here as well, pressing it does both."},
        {"ok", "OK"},
        {"force_use_shortcut", "Use Anyway"},
    };
    const auto found = texts.find(key);
    return std::string(found == texts.end() ? key : found->second);
}

std::string formattedText(std::string_view format, std::string_view argument) {
    constexpr std::string_view placeholder = "%@";
    std::string text(format);
    if (const auto position = text.find(placeholder); position != std::string::npos) {
        text.replace(position, placeholder.size(), argument);
    }
    return text;
}

} // namespace driftmark::KeyboardShortcuts
