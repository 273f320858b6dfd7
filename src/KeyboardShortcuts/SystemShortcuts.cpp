#include "KeyboardShortcuts/SystemShortcuts.h"

#include "platform/SystemShortcutList.h"

namespace driftmark::KeyboardShortcuts {

std::vector<Shortcut> systemShortcuts(const SystemShortcutList& list) {
    std::vector<Shortcut> shortcuts;
    for (const SystemHotKey& hotKey : list.symbolicHotKeys()) {
        if (hotKey.isEnabled) {
            shortcuts.emplace_back(hotKey.keyCode, hotKey.modifiers);
        }
    }
    return shortcuts;
}

} // namespace driftmark::KeyboardShortcuts
