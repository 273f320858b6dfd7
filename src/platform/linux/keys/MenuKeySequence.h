#pragma once

#include "platform/KeyEventPoster.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace driftmark {

namespace menuKeySequence {

// Modifier flags a menu key equivalent comes with.
inline constexpr std::uint64_t shiftFlag = keyEventFlagShift;
inline constexpr std::uint64_t controlFlag = keyEventFlagControl;
inline constexpr std::uint64_t optionFlag = keyEventFlagOption;
inline constexpr std::uint64_t commandFlag = keyEventFlagCommand;

// Function keys come as the private-use characters U+F704 (F1) onwards; Qt names keys up to F35.
inline constexpr char32_t firstFunctionKey = 0xF704;
inline constexpr int functionKeyCount = 35;

// The symbols of keys that type no character, and the names Qt gives those keys.
inline constexpr std::array<std::pair<std::string_view, std::string_view>, 15> namedKeys = {{
    {"\u21A9", "Return"},
    {"\u232B", "Backspace"},
    {"\u2326", "Del"},
    {"\u2198", "End"},
    {"\u238B", "Esc"},
    {"?\u20DD", "Help"},
    {"\u2196", "Home"},
    {" ", "Space"},
    {"\u21E5", "Tab"},
    {"\u21DE", "PgUp"},
    {"\u21DF", "PgDown"},
    {"\u2191", "Up"},
    {"\u2192", "Right"},
    {"\u2193", "Down"},
    {"\u2190", "Left"},
}};

// The code point of text that holds exactly one well-formed UTF-8 character.
inline std::optional<char32_t> singleCodePoint(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 1;
    char32_t codePoint = lead;
    if (lead >= 0xF0 && lead < 0xF5) {
        length = 4;
        codePoint = lead & 0x07U;
    } else if (lead >= 0xE0) {
        length = lead < 0xF0 ? 3 : 0;
        codePoint = lead & 0x0FU;
    } else if (lead >= 0xC2) {
        length = 2;
        codePoint = lead & 0x1FU;
    } else if (lead >= 0x80) {
        length = 0;
    }
    if (length == 0 || text.size() != length) {
        return std::nullopt;
    }
    for (std::size_t index = 1; index < length; ++index) {
        const auto continuation = static_cast<unsigned char>(text[index]);
        if ((continuation & 0xC0U) != 0x80U) {
            return std::nullopt;
        }
        codePoint = (codePoint << 6) | (continuation & 0x3FU);
    }
    return codePoint;
}

} // namespace menuKeySequence

// The key sequence, in Qt's portable text form ("Ctrl+Shift+K", "Meta+F5"), that shows a menu key
// equivalent the way the user presses it on Linux: Command is the Super key, which Qt calls Meta. The
// key is a character as the layout types it, a key symbol such as "↩", " " for the space bar, or a
// function key's private-use character. Absent for an empty key and for text that names no single key.
// Fn has no counterpart and is left out.
inline std::optional<std::string> portableKeySequence(std::string_view key, std::uint64_t modifierFlags) {
    using namespace menuKeySequence;
    std::optional<std::string> keyName;
    for (const auto& [symbol, name] : namedKeys) {
        if (key == symbol) {
            keyName = std::string(name);
            break;
        }
    }
    if (!keyName) {
        const auto codePoint = singleCodePoint(key);
        if (!codePoint || *codePoint < 0x20 || *codePoint == 0x7F) {
            return std::nullopt;
        }
        if (*codePoint >= firstFunctionKey && *codePoint < firstFunctionKey + functionKeyCount) {
            keyName = "F" + std::to_string(static_cast<int>(*codePoint - firstFunctionKey) + 1);
        } else {
            keyName = std::string(key);
        }
    }
    std::string sequence;
    if ((modifierFlags & controlFlag) != 0) {
        sequence += "Ctrl+";
    }
    if ((modifierFlags & optionFlag) != 0) {
        sequence += "Alt+";
    }
    if ((modifierFlags & shiftFlag) != 0) {
        sequence += "Shift+";
    }
    if ((modifierFlags & commandFlag) != 0) {
        sequence += "Meta+";
    }
    return sequence + *keyName;
}

} // namespace driftmark
