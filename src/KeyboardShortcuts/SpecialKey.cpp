#include "KeyboardShortcuts/SpecialKey.h"

#include "KeyboardShortcuts/Texts.h"
#include "KeyboardShortcuts/UnicodeText.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace driftmark::KeyboardShortcuts {

namespace {

struct SpecialKeyTexts {
    SpecialKey specialKey;
    Key key;
    // Empty for the space bar, whose name is localised.
    std::string_view symbol;
    std::optional<std::string_view> menuKeyEquivalent;
    std::optional<std::string_view> declarativeKeyEquivalent;
};

// In the order of the enumeration, so that a case indexes its row.
constexpr std::array<SpecialKeyTexts, 53> table{{
    {SpecialKey::return_, Key::return_, "↩", "↩", "\r"},
    {SpecialKey::delete_, Key::delete_, "⌫", "⌫", "\b"},
    {SpecialKey::deleteForward, Key::deleteForward, "⌦", "⌦", "\uF728"},
    {SpecialKey::end, Key::end, "↘", "↘", "\uF72B"},
    {SpecialKey::escape, Key::escape, "⎋", "⎋", "\x1B"},
    // Help is grabbed as Insert, the key at its place on a PC keyboard, and is shown as that key.
    {SpecialKey::help, Key::help, "\u2380", "\u2380", "\uF746"},
    {SpecialKey::home, Key::home, "↖", "↖", "\uF729"},
    {SpecialKey::space, Key::space, "", " ", " "},
    {SpecialKey::tab, Key::tab, "⇥", "⇥", "\t"},
    {SpecialKey::pageUp, Key::pageUp, "⇞", "⇞", "\uF72C"},
    {SpecialKey::pageDown, Key::pageDown, "⇟", "⇟", "\uF72D"},
    {SpecialKey::upArrow, Key::upArrow, "↑", "↑", "\uF700"},
    {SpecialKey::rightArrow, Key::rightArrow, "→", "→", "\uF703"},
    {SpecialKey::downArrow, Key::downArrow, "↓", "↓", "\uF701"},
    {SpecialKey::leftArrow, Key::leftArrow, "←", "←", "\uF702"},
    {SpecialKey::f1, Key::f1, "F1", "\uF704", "\uF704"},
    {SpecialKey::f2, Key::f2, "F2", "\uF705", "\uF705"},
    {SpecialKey::f3, Key::f3, "F3", "\uF706", "\uF706"},
    {SpecialKey::f4, Key::f4, "F4", "\uF707", "\uF707"},
    {SpecialKey::f5, Key::f5, "F5", "\uF708", "\uF708"},
    {SpecialKey::f6, Key::f6, "F6", "\uF709", "\uF709"},
    {SpecialKey::f7, Key::f7, "F7", "\uF70A", "\uF70A"},
    {SpecialKey::f8, Key::f8, "F8", "\uF70B", "\uF70B"},
    {SpecialKey::f9, Key::f9, "F9", "\uF70C", "\uF70C"},
    {SpecialKey::f10, Key::f10, "F10", "\uF70D", "\uF70D"},
    {SpecialKey::f11, Key::f11, "F11", "\uF70E", "\uF70E"},
    {SpecialKey::f12, Key::f12, "F12", "\uF70F", "\uF70F"},
    {SpecialKey::f13, Key::f13, "F13", "\uF710", "\uF710"},
    {SpecialKey::f14, Key::f14, "F14", "\uF711", "\uF711"},
    {SpecialKey::f15, Key::f15, "F15", "\uF712", "\uF712"},
    {SpecialKey::f16, Key::f16, "F16", "\uF713", "\uF713"},
    {SpecialKey::f17, Key::f17, "F17", "\uF714", "\uF714"},
    {SpecialKey::f18, Key::f18, "F18", "\uF715", "\uF715"},
    {SpecialKey::f19, Key::f19, "F19", "\uF716", "\uF716"},
    {SpecialKey::f20, Key::f20, "F20", "\uF717", "\uF717"},
    {SpecialKey::keypad0, Key::keypad0, "0\u20E3", std::nullopt, std::nullopt},
    {SpecialKey::keypad1, Key::keypad1, "1\u20E3", std::nullopt, std::nullopt},
    {SpecialKey::keypad2, Key::keypad2, "2\u20E3", std::nullopt, std::nullopt},
    {SpecialKey::keypad3, Key::keypad3, "3\u20E3", std::nullopt, std::nullopt},
    {SpecialKey::keypad4, Key::keypad4, "4\u20E3", std::nullopt, std::nullopt},
    {SpecialKey::keypad5, Key::keypad5, "5\u20E3", std::nullopt, std::nullopt},
    {SpecialKey::keypad6, Key::keypad6, "6\u20E3", std::nullopt, std::nullopt},
    {SpecialKey::keypad7, Key::keypad7, "7\u20E3", std::nullopt, std::nullopt},
    {SpecialKey::keypad8, Key::keypad8, "8\u20E3", std::nullopt, std::nullopt},
    {SpecialKey::keypad9, Key::keypad9, "9\u20E3", std::nullopt, std::nullopt},
    {SpecialKey::keypadClear, Key::keypadClear, "☒\u20E3", std::nullopt, std::nullopt},
    {SpecialKey::keypadDecimal, Key::keypadDecimal, ".\u20E3", std::nullopt, std::nullopt},
    {SpecialKey::keypadDivide, Key::keypadDivide, "/\u20E3", std::nullopt, std::nullopt},
    {SpecialKey::keypadEnter, Key::keypadEnter, "↩\u20E3", std::nullopt, std::nullopt},
    {SpecialKey::keypadEquals, Key::keypadEquals, "=\u20E3", std::nullopt, std::nullopt},
    {SpecialKey::keypadMinus, Key::keypadMinus, "-\u20E3", std::nullopt, std::nullopt},
    {SpecialKey::keypadMultiply, Key::keypadMultiply, "*\u20E3", std::nullopt, std::nullopt},
    {SpecialKey::keypadPlus, Key::keypadPlus, "+\u20E3", std::nullopt, std::nullopt},
}};

const SpecialKeyTexts& texts(SpecialKey key) {
    return table[static_cast<std::size_t>(key)];
}

std::optional<std::string> copy(std::optional<std::string_view> text) {
    return text ? std::optional<std::string>(*text) : std::nullopt;
}

} // namespace

const std::unordered_map<Key, SpecialKey>& keyToSpecialKeyMapping() {
    static const std::unordered_map<Key, SpecialKey> mapping = [] {
        std::unordered_map<Key, SpecialKey> built;
        for (const SpecialKeyTexts& row : table) {
            built.emplace(row.key, row.specialKey);
        }
        return built;
    }();
    return mapping;
}

std::optional<SpecialKey> specialKey(Key key) {
    const auto& mapping = keyToSpecialKeyMapping();
    const auto found = mapping.find(key);
    return found == mapping.end() ? std::nullopt : std::optional<SpecialKey>(found->second);
}

std::string presentableDescription(SpecialKey key) {
    if (key == SpecialKey::space) {
        return titleCased(localizedText("space_key"));
    }
    return std::string(texts(key).symbol);
}

std::optional<std::string> appKitMenuItemKeyEquivalent(SpecialKey key) {
    return copy(texts(key).menuKeyEquivalent);
}

std::optional<std::string> swiftUIKeyEquivalent(SpecialKey key) {
    return copy(texts(key).declarativeKeyEquivalent);
}

std::optional<int> functionKeyNumber(SpecialKey key) {
    if (key < SpecialKey::f1 || key > SpecialKey::f20) {
        return std::nullopt;
    }
    return static_cast<int>(key) - static_cast<int>(SpecialKey::f1) + 1;
}

} // namespace driftmark::KeyboardShortcuts
