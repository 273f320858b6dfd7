#include "platform/linux/keys/LockModifierMasks.h"

#include "platform/linux/keys/XModifierMasks.h"
#include "platform/linux/x11/XcbReply.h"

#include <algorithm>
#include <memory>
#include <vector>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xkbcommon/xkbcommon-keysyms.h>

namespace driftmark {

namespace {

using KeySymbols = std::unique_ptr<xcb_key_symbols_t, decltype(&xcb_key_symbols_free)>;

// The keys that type the key symbol, in any column of the keyboard mapping.
std::vector<xcb_keycode_t> keysTyping(xcb_key_symbols_t* symbols, xcb_keysym_t keysym) {
    const XcbReply<xcb_keycode_t> codes(xcb_key_symbols_get_keycode(symbols, keysym));
    std::vector<xcb_keycode_t> keys;
    for (const xcb_keycode_t* code = codes.get(); code != nullptr && *code != XCB_NO_SYMBOL; ++code) {
        keys.push_back(*code);
    }
    return keys;
}

} // namespace

std::uint16_t lockModifierMasks(xcb_connection_t* connection) {
    std::uint16_t masks = xLockMask;
    const XcbReply<xcb_get_modifier_mapping_reply_t> mapping(
        xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr));
    const KeySymbols symbols(xcb_key_symbols_alloc(connection), &xcb_key_symbols_free);
    if (!mapping || !symbols) {
        return masks;
    }
    std::vector<xcb_keycode_t> lockKeys = keysTyping(symbols.get(), XKB_KEY_Num_Lock);
    const std::vector<xcb_keycode_t> scrollLockKeys = keysTyping(symbols.get(), XKB_KEY_Scroll_Lock);
    lockKeys.insert(lockKeys.end(), scrollLockKeys.begin(), scrollLockKeys.end());

    // Each row of the modifier map holds keycodes_per_modifier keys.
    const int perRow = mapping->keycodes_per_modifier;
    const xcb_keycode_t* keys = xcb_get_modifier_mapping_keycodes(mapping.get());
    for (int row = 0; row < xModifierRows; ++row) {
        for (int column = 0; column < perRow; ++column) {
            const xcb_keycode_t key = keys[row * perRow + column];
            if (key != 0 && std::find(lockKeys.begin(), lockKeys.end(), key) != lockKeys.end()) {
                masks |= xModifierOfRow(row);
            }
        }
    }
    return masks;
}

} // namespace driftmark
