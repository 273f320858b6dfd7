#include "platform/linux/portal/PortalShortcutTrigger.h"

#include "platform/HotKeyService.h"
#include "platform/KeyboardLayout.h"
#include "platform/linux/keys/KeyPositions.h"

#include <array>
#include <linux/input-event-codes.h>
#include <string_view>
#include <utility>
#include <xkbcommon/xkbcommon.h>

namespace driftmark {

namespace {

struct FixedKeyName {
    int evdevCode;
    std::string_view name;
};

// Keys whose keysym does not follow from the text they type: they type none, or (the keypad) the same
// text as other keys, which would name those instead.
constexpr std::array fixedKeyNames = {
    FixedKeyName{KEY_ENTER, "Return"},
    FixedKeyName{KEY_TAB, "Tab"},
    FixedKeyName{KEY_SPACE, "space"},
    FixedKeyName{KEY_BACKSPACE, "BackSpace"},
    FixedKeyName{KEY_ESC, "Escape"},
    FixedKeyName{KEY_DELETE, "Delete"},
    FixedKeyName{KEY_INSERT, "Insert"},
    FixedKeyName{KEY_HOME, "Home"},
    FixedKeyName{KEY_END, "End"},
    FixedKeyName{KEY_PAGEUP, "Page_Up"},
    FixedKeyName{KEY_PAGEDOWN, "Page_Down"},
    FixedKeyName{KEY_LEFT, "Left"},
    FixedKeyName{KEY_RIGHT, "Right"},
    FixedKeyName{KEY_UP, "Up"},
    FixedKeyName{KEY_DOWN, "Down"},
    FixedKeyName{KEY_MUTE, "XF86AudioMute"},
    FixedKeyName{KEY_VOLUMEUP, "XF86AudioRaiseVolume"},
    FixedKeyName{KEY_VOLUMEDOWN, "XF86AudioLowerVolume"},
    FixedKeyName{KEY_F1, "F1"},
    FixedKeyName{KEY_F2, "F2"},
    FixedKeyName{KEY_F3, "F3"},
    FixedKeyName{KEY_F4, "F4"},
    FixedKeyName{KEY_F5, "F5"},
    FixedKeyName{KEY_F6, "F6"},
    FixedKeyName{KEY_F7, "F7"},
    FixedKeyName{KEY_F8, "F8"},
    FixedKeyName{KEY_F9, "F9"},
    FixedKeyName{KEY_F10, "F10"},
    FixedKeyName{KEY_F11, "F11"},
    FixedKeyName{KEY_F12, "F12"},
    FixedKeyName{KEY_F13, "F13"},
    FixedKeyName{KEY_F14, "F14"},
    FixedKeyName{KEY_F15, "F15"},
    FixedKeyName{KEY_F16, "F16"},
    FixedKeyName{KEY_F17, "F17"},
    FixedKeyName{KEY_F18, "F18"},
    FixedKeyName{KEY_F19, "F19"},
    FixedKeyName{KEY_F20, "F20"},
    FixedKeyName{KEY_KP0, "KP_0"},
    FixedKeyName{KEY_KP1, "KP_1"},
    FixedKeyName{KEY_KP2, "KP_2"},
    FixedKeyName{KEY_KP3, "KP_3"},
    FixedKeyName{KEY_KP4, "KP_4"},
    FixedKeyName{KEY_KP5, "KP_5"},
    FixedKeyName{KEY_KP6, "KP_6"},
    FixedKeyName{KEY_KP7, "KP_7"},
    FixedKeyName{KEY_KP8, "KP_8"},
    FixedKeyName{KEY_KP9, "KP_9"},
    FixedKeyName{KEY_KPDOT, "KP_Decimal"},
    FixedKeyName{KEY_KPSLASH, "KP_Divide"},
    FixedKeyName{KEY_KPENTER, "KP_Enter"},
    FixedKeyName{KEY_KPEQUAL, "KP_Equal"},
    FixedKeyName{KEY_KPMINUS, "KP_Subtract"},
    FixedKeyName{KEY_KPASTERISK, "KP_Multiply"},
    FixedKeyName{KEY_KPPLUS, "KP_Add"},
};

constexpr std::array<std::pair<std::uint32_t, std::string_view>, 4> triggerModifiers = {{
    {hotKeyModifierControl, "CTRL"},
    {hotKeyModifierOption, "ALT"},
    {hotKeyModifierShift, "SHIFT"},
    {hotKeyModifierCommand, "LOGO"},
}};

// The code point of a text of exactly one UTF-8 character; absent for anything else.
std::optional<char32_t> singleCodePoint(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    char32_t codePoint = 0;
    if (lead < 0x80) {
        length = 1;
        codePoint = lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        codePoint = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (text.size() != length) {
        return std::nullopt;
    }
    for (std::size_t index = 1; index < length; ++index) {
        const auto continuation = static_cast<unsigned char>(text[index]);
        if ((continuation & 0xC0) != 0x80) {
            return std::nullopt;
        }
        codePoint = (codePoint << 6) | (continuation & 0x3F);
    }
    return codePoint;
}

std::optional<std::string> keysymName(std::uint32_t keyCode, const KeyboardLayout& layout) {
    const auto evdevCode =
        keyCode <= 0xFFFF ? evdevCodeForVirtualKey(static_cast<int>(keyCode)) : std::nullopt;
    if (!evdevCode) {
        return std::nullopt;
    }
    for (const auto& fixed : fixedKeyNames) {
        if (fixed.evdevCode == static_cast<int>(*evdevCode)) {
            return std::string(fixed.name);
        }
    }
    const auto text = layout.keyCapText(static_cast<std::uint16_t>(keyCode));
    const auto codePoint = text ? singleCodePoint(*text) : std::nullopt;
    // Control characters would name keys such as Return that the table names already, by position.
    if (!codePoint || *codePoint < 0x20 || *codePoint == 0x7F) {
        return std::nullopt;
    }
    const xkb_keysym_t keysym = xkb_utf32_to_keysym(*codePoint);
    if (keysym == XKB_KEY_NoSymbol) {
        return std::nullopt;
    }
    std::array<char, 64> name{};
    const int length = xkb_keysym_get_name(keysym, name.data(), name.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= name.size()) {
        return std::nullopt;
    }
    return std::string(name.data(), static_cast<std::size_t>(length));
}

} // namespace

std::optional<std::string> portalShortcutTrigger(std::uint32_t keyCode, std::uint32_t modifiers,
                                                 const KeyboardLayout& layout) {
    constexpr std::uint32_t expressible =
        hotKeyModifierCommand | hotKeyModifierShift | hotKeyModifierOption | hotKeyModifierControl;
    if ((modifiers & ~expressible) != 0) {
        return std::nullopt;
    }
    auto name = keysymName(keyCode, layout);
    if (!name) {
        return std::nullopt;
    }
    std::string trigger;
    for (const auto& [bit, modifier] : triggerModifiers) {
        if ((modifiers & bit) != 0) {
            trigger.append(modifier).append("+");
        }
    }
    return trigger + *name;
}

} // namespace driftmark
