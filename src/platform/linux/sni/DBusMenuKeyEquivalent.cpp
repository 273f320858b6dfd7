#include "platform/linux/sni/DBusMenuKeyEquivalent.h"

#include "platform/linux/sni/KeyCombination.h"

namespace driftmark {

DBusMenuKeyEquivalent::DBusMenuKeyEquivalent(std::function<void(const DBusMenuShortcut& shortcut)> show)
    : show_(std::move(show)) {}

void DBusMenuKeyEquivalent::setKeyEquivalent(const std::string& key, std::uint64_t modifierFlags) {
    DBusMenuShortcut shortcut;
    if (const auto combination = dbusMenuKeyCombination(key, modifierFlags); !combination.empty()) {
        QStringList names;
        for (const std::string& name : combination) {
            names.append(QString::fromStdString(name));
        }
        shortcut.append(names);
    }
    show_(shortcut);
}

} // namespace driftmark
