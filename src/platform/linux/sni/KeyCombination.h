#pragma once

#include "platform/linux/keys/MenuKeySequence.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>
#include <xkbcommon/xkbcommon.h>

namespace driftmark {

namespace dbusMenuKeys {

// Qt's names of keys that type no character, and their X key symbol names.
inline constexpr std::array<std::pair<std::string_view, std::string_view>, 6> renamedKeys = {{
    {"Backspace", "BackSpace"},
    {"Del", "Delete"},
    {"Esc", "Escape"},
    {"Space", "space"},
    {"PgUp", "Page_Up"},
    {"PgDown", "Page_Down"},
}};

// The X key symbol name of one character ("comma" for ","), empty when it has none.
inline std::string keySymbolName(std::string_view character) {
    const auto codePoint = menuKeySequence::singleCodePoint(character);
    const xkb_keysym_t keysym = codePoint ? xkb_utf32_to_keysym(*codePoint) : XKB_KEY_NoSymbol;
    if (keysym == XKB_KEY_NoSymbol) {
        return {};
    }
    std::array<char, 64> name{};
    const int length = xkb_keysym_get_name(keysym, name.data(), name.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= name.size()) {
        return {};
    }
    return std::string(name.data(), static_cast<std::size_t>(length));
}

} // namespace dbusMenuKeys

// A key combination as a dbusmenu host shows it beside an item: the modifiers' names ("Control", "Alt",
// "Shift", "Super"), then the key by its X key symbol name ("comma", "Page_Up", "F5"), a letter in upper
// case. GTK's dbusmenu reads no other names; a Qt host is given Qt's names instead (qtHostKeyName). Empty
// when `key` names no key.
inline std::vector<std::string> dbusMenuKeyCombination(std::string_view key, std::uint64_t modifierFlags) {
    using namespace menuKeySequence;
    std::optional<std::string> name = portableKeySequence(key, 0);
    if (!name) {
        return {};
    }
    if (name->size() == 1 && name->front() >= 'a' && name->front() <= 'z') {
        name->front() = static_cast<char>(name->front() - 'a' + 'A');
    }
    for (const auto& [qtName, keySymbol] : dbusMenuKeys::renamedKeys) {
        if (*name == qtName) {
            *name = keySymbol;
        }
    }
    if (menuKeySequence::singleCodePoint(*name)) {
        *name = dbusMenuKeys::keySymbolName(*name);
        if (name->empty()) {
            return {};
        }
    }
    std::vector<std::string> combination;
    if ((modifierFlags & controlFlag) != 0) {
        combination.emplace_back("Control");
    }
    if ((modifierFlags & optionFlag) != 0) {
        combination.emplace_back("Alt");
    }
    if ((modifierFlags & shiftFlag) != 0) {
        combination.emplace_back("Shift");
    }
    if ((modifierFlags & commandFlag) != 0) {
        combination.emplace_back("Super");
    }
    combination.push_back(std::move(*name));
    return combination;
}

// The key of a combination as a Qt host (libdbusmenu-qt, Plasma) reads it: the character itself for a
// character ("," for "comma"), Qt's names of the paging keys. Qt reads the other names as they are.
inline std::string qtHostKeyName(std::string_view keySymbol) {
    if (keySymbol == "Page_Up") {
        return "PgUp";
    }
    if (keySymbol == "Page_Down") {
        return "PgDown";
    }
    const xkb_keysym_t keysym =
        keySymbol.size() > 1 ? xkb_keysym_from_name(std::string(keySymbol).c_str(), XKB_KEYSYM_NO_FLAGS)
                             : XKB_KEY_NoSymbol;
    // Return, Tab, Escape and the like stand for control characters; the space bar for a blank.
    const std::uint32_t codePoint = keysym == XKB_KEY_NoSymbol ? 0 : xkb_keysym_to_utf32(keysym);
    std::array<char, 8> text{};
    if (codePoint > 0x20 && codePoint != 0x7F) {
        const int length = xkb_keysym_to_utf8(keysym, text.data(), text.size());
        if (length > 1) {
            return std::string(text.data(), static_cast<std::size_t>(length - 1));
        }
    }
    return std::string(keySymbol);
}

} // namespace driftmark
