#include "platform/linux/keys/ModifierKeys.h"

#include "platform/linux/x11/XcbReply.h"

#include <algorithm>
#include <xcb/xcb.h>

namespace driftmark {

namespace {

// Rows of the modifier map, in the order of the X protocol.
enum ModifierRow { shiftRow, lockRow, controlRow, mod1Row, mod2Row };

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
    const auto firstOfRow = [&](int row) -> std::optional<std::uint8_t> {
        for (int column = 0; column < perRow; ++column) {
            if (codes[row * perRow + column] != 0) {
                return codes[row * perRow + column];
            }
        }
        return std::nullopt;
    };
    keys.shift = firstOfRow(shiftRow);
    keys.control = firstOfRow(controlRow);
    keys.alt = firstOfRow(mod1Row);

    // Num Lock is bound to Mod2 by every xkb layout.
    for (int row = 0; row < 8; ++row) {
        if (row == lockRow || row == mod2Row) {
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
