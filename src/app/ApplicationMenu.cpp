#include "app/ApplicationMenu.h"

#include "app/StatusItemMenu.h"
#include "model/MenuBarItem.h"

namespace driftmark {

KeyboardShortcuts::Menu applicationMenu() {
    // The entries come from the status item menu itself, so that the two cannot drift apart. Which item
    // the menu is built for changes only the copy, paste and edit entries, none of which has a key
    // equivalent.
    const MenuBarItem anyItem(Uuid{}, {}, {}, CodableColor{}, false, false, std::nullopt, 0, 0);
    KeyboardShortcuts::Menu menu;
    for (const MenuEntry& entry :
         makeStatusItemMenu(anyItem, std::nullopt, StatusItemMenuActions{}).entries) {
        if (!entry.isSeparator && !entry.keyEquivalent.empty()) {
            menu.items.push_back(
                {entry.title, entry.keyEquivalent, KeyboardShortcuts::ModifierFlags::control, std::nullopt});
        }
    }
    return menu;
}

} // namespace driftmark
