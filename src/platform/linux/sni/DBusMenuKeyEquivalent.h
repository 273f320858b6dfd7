#pragma once

#include "platform/KeyEquivalentMenuItem.h"
#include "platform/linux/sni/DBusMenuTypes.h"

#include <functional>

namespace driftmark {

// Shows a key equivalent on an exported menu item: the host hears the item's new "shortcut" property.
class DBusMenuKeyEquivalent final : public KeyEquivalentMenuItem {
public:
    explicit DBusMenuKeyEquivalent(std::function<void(const DBusMenuShortcut& shortcut)> show);

    void setKeyEquivalent(const std::string& key, std::uint64_t modifierFlags) override;

private:
    std::function<void(const DBusMenuShortcut& shortcut)> show_;
};

} // namespace driftmark
