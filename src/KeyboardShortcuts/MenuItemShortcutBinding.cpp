#include "KeyboardShortcuts/MenuItemShortcutBinding.h"

#include "KeyboardShortcuts/Module.h"
#include "KeyboardShortcuts/ShortcutText.h"
#include "platform/KeyEquivalentMenuItem.h"
#include "platform/MainQueue.h"

namespace driftmark::KeyboardShortcuts {

MenuItemShortcutBinding::MenuItemShortcutBinding(Module& shortcuts, KeyEquivalentMenuItem& item)
    : shortcuts_(shortcuts)
    , item_(item) {}

MenuItemShortcutBinding::~MenuItemShortcutBinding() {
    stopFollowing();
}

void MenuItemShortcutBinding::setShortcut(const std::optional<Shortcut>& shortcut) {
    if (!shortcut) {
        item_.setKeyEquivalent("", 0);
        return;
    }
    item_.setKeyEquivalent(nsMenuItemKeyEquivalent(*shortcut, shortcuts_.keyboardLayout()).value_or(""),
                           shortcut->modifiers().rawValue);
}

void MenuItemShortcutBinding::setShortcutFor(const std::optional<Name>& name) {
    stopFollowing();
    if (!name) {
        setShortcut(std::nullopt);
        return;
    }
    setShortcut(shortcuts_.getShortcut(*name));
    const std::uint64_t following = ++following_;
    const std::weak_ptr<const bool> alive = lifetime_;
    observer_ = shortcuts_.notificationCenter().addObserver(
        shortcutByNameDidChange,
        [this, alive, following, followed = *name](const Notification& notification) {
            const auto changed = notification.userInfo.find("name");
            const Name* changedName =
                changed == notification.userInfo.end() ? nullptr : std::get_if<Name>(&changed->second);
            if (changedName == nullptr || *changedName != followed) {
                return;
            }
            shortcuts_.mainQueue().async([this, alive, following, followed] {
                if (!alive.expired() && following_ == following) {
                    setShortcut(shortcuts_.getShortcut(followed));
                }
            });
        });
}

void MenuItemShortcutBinding::stopFollowing() {
    ++following_;
    if (const auto observer = std::exchange(observer_, std::nullopt)) {
        shortcuts_.notificationCenter().removeObserver(*observer);
    }
}

} // namespace driftmark::KeyboardShortcuts
