#pragma once

#include <array>
#include <cstdint>
#include <linux/input-event-codes.h>
#include <optional>

namespace driftmark {

// A physical key position: the macOS virtual key code and the Linux evdev code of the same key.
struct KeyPosition {
    int virtualKey;
    int evdevCode;
};

// X key codes are evdev codes shifted by 8 (the evdev keycodes of xkb).
inline constexpr int evdevToXKeyCodeOffset = 8;

// Virtual key codes are positions on the ANSI keyboard. Fn has no X key code and is left out.
inline constexpr std::array keyPositions = {
    // Letters.
    KeyPosition{0, KEY_A},
    KeyPosition{11, KEY_B},
    KeyPosition{8, KEY_C},
    KeyPosition{2, KEY_D},
    KeyPosition{14, KEY_E},
    KeyPosition{3, KEY_F},
    KeyPosition{5, KEY_G},
    KeyPosition{4, KEY_H},
    KeyPosition{34, KEY_I},
    KeyPosition{38, KEY_J},
    KeyPosition{40, KEY_K},
    KeyPosition{37, KEY_L},
    KeyPosition{46, KEY_M},
    KeyPosition{45, KEY_N},
    KeyPosition{31, KEY_O},
    KeyPosition{35, KEY_P},
    KeyPosition{12, KEY_Q},
    KeyPosition{15, KEY_R},
    KeyPosition{1, KEY_S},
    KeyPosition{17, KEY_T},
    KeyPosition{32, KEY_U},
    KeyPosition{9, KEY_V},
    KeyPosition{13, KEY_W},
    KeyPosition{7, KEY_X},
    KeyPosition{16, KEY_Y},
    KeyPosition{6, KEY_Z},
    // Digits of the main block.
    KeyPosition{29, KEY_0},
    KeyPosition{18, KEY_1},
    KeyPosition{19, KEY_2},
    KeyPosition{20, KEY_3},
    KeyPosition{21, KEY_4},
    KeyPosition{23, KEY_5},
    KeyPosition{22, KEY_6},
    KeyPosition{26, KEY_7},
    KeyPosition{28, KEY_8},
    KeyPosition{25, KEY_9},
    // Punctuation.
    KeyPosition{42, KEY_BACKSLASH},
    KeyPosition{50, KEY_GRAVE},
    KeyPosition{43, KEY_COMMA},
    KeyPosition{24, KEY_EQUAL},
    KeyPosition{27, KEY_MINUS},
    KeyPosition{47, KEY_DOT},
    KeyPosition{39, KEY_APOSTROPHE},
    KeyPosition{41, KEY_SEMICOLON},
    KeyPosition{44, KEY_SLASH},
    KeyPosition{33, KEY_LEFTBRACE},
    KeyPosition{30, KEY_RIGHTBRACE},
    // Modifiers.
    KeyPosition{57, KEY_CAPSLOCK},
    KeyPosition{56, KEY_LEFTSHIFT},
    KeyPosition{59, KEY_LEFTCTRL},
    KeyPosition{58, KEY_LEFTALT},
    KeyPosition{55, KEY_LEFTMETA},
    KeyPosition{54, KEY_RIGHTMETA},
    KeyPosition{61, KEY_RIGHTALT},
    KeyPosition{62, KEY_RIGHTCTRL},
    KeyPosition{60, KEY_RIGHTSHIFT},
    // Editing and navigation. Help sits where PC keyboards have Insert.
    KeyPosition{36, KEY_ENTER},
    KeyPosition{48, KEY_TAB},
    KeyPosition{49, KEY_SPACE},
    KeyPosition{51, KEY_BACKSPACE},
    KeyPosition{53, KEY_ESC},
    KeyPosition{117, KEY_DELETE},
    KeyPosition{114, KEY_INSERT},
    KeyPosition{115, KEY_HOME},
    KeyPosition{119, KEY_END},
    KeyPosition{116, KEY_PAGEUP},
    KeyPosition{121, KEY_PAGEDOWN},
    KeyPosition{123, KEY_LEFT},
    KeyPosition{124, KEY_RIGHT},
    KeyPosition{125, KEY_DOWN},
    KeyPosition{126, KEY_UP},
    // Media.
    KeyPosition{74, KEY_MUTE},
    KeyPosition{72, KEY_VOLUMEUP},
    KeyPosition{73, KEY_VOLUMEDOWN},
    // Function keys.
    KeyPosition{122, KEY_F1},
    KeyPosition{120, KEY_F2},
    KeyPosition{99, KEY_F3},
    KeyPosition{118, KEY_F4},
    KeyPosition{96, KEY_F5},
    KeyPosition{97, KEY_F6},
    KeyPosition{98, KEY_F7},
    KeyPosition{100, KEY_F8},
    KeyPosition{101, KEY_F9},
    KeyPosition{109, KEY_F10},
    KeyPosition{103, KEY_F11},
    KeyPosition{111, KEY_F12},
    KeyPosition{105, KEY_F13},
    KeyPosition{107, KEY_F14},
    KeyPosition{113, KEY_F15},
    KeyPosition{106, KEY_F16},
    KeyPosition{64, KEY_F17},
    KeyPosition{79, KEY_F18},
    KeyPosition{80, KEY_F19},
    KeyPosition{90, KEY_F20},
    // Keypad. Clear sits where PC keyboards have Num Lock.
    KeyPosition{82, KEY_KP0},
    KeyPosition{83, KEY_KP1},
    KeyPosition{84, KEY_KP2},
    KeyPosition{85, KEY_KP3},
    KeyPosition{86, KEY_KP4},
    KeyPosition{87, KEY_KP5},
    KeyPosition{88, KEY_KP6},
    KeyPosition{89, KEY_KP7},
    KeyPosition{91, KEY_KP8},
    KeyPosition{92, KEY_KP9},
    KeyPosition{71, KEY_NUMLOCK},
    KeyPosition{65, KEY_KPDOT},
    KeyPosition{75, KEY_KPSLASH},
    KeyPosition{76, KEY_KPENTER},
    KeyPosition{81, KEY_KPEQUAL},
    KeyPosition{78, KEY_KPMINUS},
    KeyPosition{67, KEY_KPASTERISK},
    KeyPosition{69, KEY_KPPLUS},
};

// The X key code at a virtual key's position; absent for a key without a position.
constexpr std::optional<std::uint8_t> xKeyCodeForVirtualKey(int virtualKey) {
    for (const auto& position : keyPositions) {
        if (position.virtualKey == virtualKey) {
            return static_cast<std::uint8_t>(position.evdevCode + evdevToXKeyCodeOffset);
        }
    }
    return std::nullopt;
}

// The evdev code of the key at a virtual key's position; absent for a key without a position.
constexpr std::optional<std::uint32_t> evdevCodeForVirtualKey(int virtualKey) {
    for (const auto& position : keyPositions) {
        if (position.virtualKey == virtualKey) {
            return static_cast<std::uint32_t>(position.evdevCode);
        }
    }
    return std::nullopt;
}

// The virtual key code at an X key code's position; absent for a key the table does not name.
constexpr std::optional<int> virtualKeyForXKeyCode(std::uint8_t xKeyCode) {
    for (const auto& position : keyPositions) {
        if (position.evdevCode + evdevToXKeyCodeOffset == xKeyCode) {
            return position.virtualKey;
        }
    }
    return std::nullopt;
}

} // namespace driftmark
