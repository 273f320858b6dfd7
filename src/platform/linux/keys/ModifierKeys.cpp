#include "platform/linux/keys/ModifierKeys.h"

#include "platform/linux/keys/XModifierMasks.h"
#include "platform/linux/x11/XcbReply.h"

#include <algorithm>
#include <xcb/xcb.h>

namespace driftmark {

namespace {

bool isDown(const xcb_query_keymap_reply_t& keymap, std::uint8_t key) {
    return (keymap.keys[key / 8] & (1U << (key % 8))) != 0;
}

} // namespace

ModifierKeys ModifierKeys::query(xcb_connection_t* connection) {
    const auto mappingCookie = xcb_get_modifier_mapping(connection);
    const auto keymapCookie = xcb_query_keymap(connection);
    const XcbReply<xcb_get_modifier_mapping_reply_t> mapping(
        xcb_get_modifier_mapping_reply(connection, mappingCookie, nullptr));
    const XcbReply<xcb_query_keymap_reply_t> keymap(
        xcb_query_keymap_reply(connection, keymapCookie, nullptr));
    ModifierKeys keys;
    if (!mapping || !keymap) {
        return keys;
    }

    const int perRow = mapping->keycodes_per_modifier;
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(mapping.get());
    const auto firstKeyOf = [&](std::uint16_t modifier) -> std::optional<std::uint8_t> {
        const int row = xModifierRow(modifier);
        for (int column = 0; column < perRow; ++column) {
            if (codes[row * perRow + column] != 0) {
                return codes[row * perRow + column];
            }
        }
        return std::nullopt;
    };
    keys.shift = firstKeyOf(xShiftMask);
    keys.control = firstKeyOf(xControlMask);
    keys.alt = firstKeyOf(xMod1Mask);

    // Num Lock is bound to Mod2 by every xkb layout.
    for (int row = 0; row < xModifierRows; ++row) {
        if ((xModifierOfRow(row) & (xLockMask | xMod2Mask)) != 0) {
            continue;
        }
        for (int column = 0; column < perRow; ++column) {
            const std::uint8_t key = codes[row * perRow + column];
            if (key != 0 && isDown(*keymap, key) &&
                std::find(keys.held.begin(), keys.held.end(), key) == keys.held.end()) {
                keys.held.push_back(key);
            }
        }
    }
    return keys;
}

} // namespace driftmark
