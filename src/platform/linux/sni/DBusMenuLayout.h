#pragma once

#include "platform/StatusBar.h"
#include "platform/linux/sni/DBusMenuTypes.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace driftmark {

class DBusMenuKeyEquivalent;

// A menu's items as dbusmenu describes them: the root, id 0, holds the entries, numbered from 1 in the
// menu's order, each with its label, state, icon and shortcut. Shown key equivalents stay bound to their
// items for as long as the layout lives.
class DBusMenuLayout {
public:
    // `changed` hears the properties of an item that changed later on (a shown key equivalent).
    DBusMenuLayout(const Menu& menu, std::function<void(int id, const QVariantMap& properties)> changed);
    ~DBusMenuLayout();
    DBusMenuLayout(const DBusMenuLayout&) = delete;
    DBusMenuLayout& operator=(const DBusMenuLayout&) = delete;

    // The item and its descendants down to `depth` levels (all of them for a negative depth), with the
    // properties named (all of them when none are). Absent for an unknown id.
    std::optional<DBusMenuLayoutItem> item(int id, int depth, const QStringList& propertyNames) const;
    std::optional<QVariantMap> properties(int id, const QStringList& propertyNames) const;
    // Every item, the root first.
    QList<int> ids() const;
    // The menu entry behind an id; null for the root and unknown ids.
    const MenuEntry* entry(int id) const;
    // Whether the other layout has the same items with the same properties.
    bool showsSameAs(const DBusMenuLayout& other) const;

private:
    struct ShownKeyEquivalent {
        std::unique_ptr<DBusMenuKeyEquivalent> item;
        std::shared_ptr<void> binding; // declared after the item: it lets go of the item first
    };

    bool contains(int id) const;

    std::vector<MenuEntry> entries_;
    std::vector<QVariantMap> properties_; // by id
    std::function<void(int id, const QVariantMap& properties)> changed_;
    std::vector<ShownKeyEquivalent> shownKeyEquivalents_;
};

// An entry's title as a dbusmenu label, where '_' marks a mnemonic: every '_' doubled.
QString dbusMenuLabel(const std::string& title);

} // namespace driftmark
