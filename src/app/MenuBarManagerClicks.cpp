#include "KeyboardShortcuts/MenuItemShortcutBinding.h"
#include "app/KeyboardShortcutsManager.h"
#include "app/MenuBarManager.h"
#include "app/StatusItemMenu.h"
#include "platform/Application.h"
#include "platform/MainQueue.h"

#include <algorithm>

namespace driftmark {

void MenuBarManager::statusItemClicked(StatusBarButton& button, MouseEventType type) {
    const auto clicked = std::find_if(statusItems_.begin(), statusItems_.end(), [&button](const auto& entry) {
        const StatusBarButton* candidate = entry.second->button();
        return candidate != nullptr && candidate->tag() == button.tag();
    });
    if (clicked == statusItems_.end()) {
        return;
    }
    const Uuid id = clicked->first;
    const std::optional<MenuBarItem> item = storedItem(id);
    if (!item) {
        return;
    }
    switch (type) {
    case MouseEventType::leftMouseUp:
        logger_.info("Menu bar left click for item: " + item->title);
        if (const auto delegate = delegate_.lock()) {
            delegate->menuBarItemLeftClicked(*item, previousApp(id));
        }
        break;
    case MouseEventType::rightMouseUp:
        logger_.info("Menu bar right click for item: " + item->title);
        showContextMenu(*item, button);
        break;
    case MouseEventType::other:
        break;
    }
}

void MenuBarManager::showContextMenu(const MenuBarItem& item, StatusBarButton& button) {
    StatusItemMenuActions actions{
        .copy = liveness_.guard([this](const MenuBarItem& chosen) { copyMenuItemClicked(chosen); }),
        .paste = liveness_.guard([this](const MenuBarItem& chosen) { pasteMenuItemClicked(chosen); }),
        .edit = liveness_.guard([this](const MenuBarItem& chosen) { editMenuItemClicked(chosen); }),
        .openSettings = liveness_.guard([this] { openSettingsClicked(); }),
        .openAbout = liveness_.guard([this] { openAboutClicked(); }),
        .quit = [&application = services_.application] { application.terminate(); },
    };
    Menu menu = makeStatusItemMenu(item, previousApp(item.id()), actions, itemShortcut(item.id()));

    const auto statusItem = statusItems_.find(item.id());
    if (statusItem == statusItems_.end()) {
        return;
    }
    statusItem->second->setMenu(std::move(menu));
    button.performClick();
    // Attached only for this one pop-up: the next click must reach statusItemClicked again.
    services_.mainQueue.async(liveness_.guard([this, id = item.id()] {
        if (const auto detached = statusItems_.find(id); detached != statusItems_.end()) {
            detached->second->setMenu(std::nullopt);
        }
    }));
}

// Only shown: the item's hot key does the work, so the menu must not act on the keystroke as well. The
// binding keeps the shown shortcut in step with the stored one for as long as the menu holds it.
ShownKeyEquivalent MenuBarManager::itemShortcut(const Uuid& id) const {
    if (shortcuts_ == nullptr) {
        return {};
    }
    return [&shortcuts = *shortcuts_, name = KeyboardShortcutsManager::menuItemName(id)](
               KeyEquivalentMenuItem& shown) -> std::shared_ptr<void> {
        auto binding = std::make_shared<KeyboardShortcuts::MenuItemShortcutBinding>(shortcuts, shown);
        binding->setShortcutFor(name);
        return binding;
    };
}

void MenuBarManager::copyMenuItemClicked(const MenuBarItem& item) {
    if (const auto delegate = delegate_.lock()) {
        delegate->copyToClipboard(item, false);
    }
}

void MenuBarManager::pasteMenuItemClicked(const MenuBarItem& item) {
    if (const auto delegate = delegate_.lock()) {
        delegate->copyToClipboard(item, true);
    }
}

void MenuBarManager::editMenuItemClicked(const MenuBarItem& item) {
    if (const auto delegate = delegate_.lock()) {
        delegate->editMenuItem(item);
    }
}

void MenuBarManager::openSettingsClicked() {
    if (const auto delegate = delegate_.lock()) {
        delegate->openSettings();
    }
}

void MenuBarManager::openAboutClicked() {
    if (const auto delegate = delegate_.lock()) {
        delegate->openAbout();
    }
}

} // namespace driftmark
