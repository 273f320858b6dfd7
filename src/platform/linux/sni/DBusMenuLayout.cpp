#include "platform/linux/sni/DBusMenuLayout.h"

#include "platform/linux/keys/MenuKeySequence.h"
#include "platform/linux/sni/DBusMenuKeyEquivalent.h"
#include "platform/linux/sni/KeyCombination.h"
#include "platform/linux/tray/SymbolIcons.h"

namespace driftmark {

namespace {

const QString shortcutProperty = QStringLiteral("shortcut");

QVariantMap rootProperties() {
    return {{QStringLiteral("children-display"), QStringLiteral("submenu")}};
}

// Key equivalents use the platform's default modifier, Control on Linux.
DBusMenuShortcut fixedShortcut(const MenuEntry& entry) {
    QStringList names;
    for (const std::string& name :
         dbusMenuKeyCombination(entry.keyEquivalent, menuKeySequence::controlFlag)) {
        names.append(QString::fromStdString(name));
    }
    return names.isEmpty() ? DBusMenuShortcut{} : DBusMenuShortcut{names};
}

QVariantMap entryProperties(const MenuEntry& entry) {
    QVariantMap properties{{QStringLiteral("visible"), true}};
    if (entry.isSeparator) {
        properties.insert(QStringLiteral("type"), QStringLiteral("separator"));
        return properties;
    }
    properties.insert(QStringLiteral("label"), dbusMenuLabel(entry.title));
    properties.insert(QStringLiteral("enabled"), true);
    if (const QString icon = symbolThemeIconName(entry.symbolName); !icon.isEmpty()) {
        properties.insert(QStringLiteral("icon-name"), icon);
    }
    if (const DBusMenuShortcut shortcut = fixedShortcut(entry); !shortcut.isEmpty()) {
        properties.insert(shortcutProperty, QVariant::fromValue(shortcut));
    }
    return properties;
}

QVariantMap selected(const QVariantMap& properties, const QStringList& names) {
    if (names.isEmpty()) {
        return properties;
    }
    QVariantMap chosen;
    for (const QString& name : names) {
        if (const auto found = properties.constFind(name); found != properties.constEnd()) {
            chosen.insert(name, found.value());
        }
    }
    return chosen;
}

} // namespace

DBusMenuLayout::DBusMenuLayout(const Menu& menu,
                               std::function<void(int id, const QVariantMap& properties)> changed)
    : entries_(menu.entries) {
    properties_.push_back(rootProperties());
    for (const MenuEntry& entry : entries_) {
        properties_.push_back(entryProperties(entry));
    }
    for (std::size_t index = 0; index < entries_.size(); ++index) {
        const MenuEntry& entry = entries_[index];
        if (entry.isSeparator || !entry.shownKeyEquivalent) {
            continue;
        }
        const int id = static_cast<int>(index) + 1;
        auto item = std::make_unique<DBusMenuKeyEquivalent>([this, id](const DBusMenuShortcut& shortcut) {
            QVariantMap& properties = properties_[static_cast<std::size_t>(id)];
            if (shortcut.isEmpty()) {
                properties.remove(shortcutProperty);
            } else {
                properties.insert(shortcutProperty, QVariant::fromValue(shortcut));
            }
            if (changed_) {
                changed_(id, properties);
            }
        });
        auto binding = entry.shownKeyEquivalent(*item);
        shownKeyEquivalents_.push_back(ShownKeyEquivalent{std::move(item), std::move(binding)});
    }
    // What the bindings show at first is part of the layout, not a change of it.
    changed_ = std::move(changed);
}

bool DBusMenuLayout::showsSameAs(const DBusMenuLayout& other) const {
    return properties_ == other.properties_;
}

DBusMenuLayout::~DBusMenuLayout() {
    // The bindings may still tell their items something while they go: nobody listens any more.
    changed_ = nullptr;
    shownKeyEquivalents_.clear();
}

bool DBusMenuLayout::contains(int id) const {
    return id >= 0 && static_cast<std::size_t>(id) < properties_.size();
}

std::optional<DBusMenuLayoutItem> DBusMenuLayout::item(int id, int depth,
                                                       const QStringList& propertyNames) const {
    if (!contains(id)) {
        return std::nullopt;
    }
    DBusMenuLayoutItem item{id, selected(properties_[static_cast<std::size_t>(id)], propertyNames), {}};
    if (id == 0 && depth != 0) {
        for (int child = 1; contains(child); ++child) {
            item.children.append(*this->item(child, depth - 1, propertyNames));
        }
    }
    return item;
}

std::optional<QVariantMap> DBusMenuLayout::properties(int id, const QStringList& propertyNames) const {
    if (!contains(id)) {
        return std::nullopt;
    }
    return selected(properties_[static_cast<std::size_t>(id)], propertyNames);
}

QList<int> DBusMenuLayout::ids() const {
    QList<int> ids;
    for (int id = 0; contains(id); ++id) {
        ids.append(id);
    }
    return ids;
}

const MenuEntry* DBusMenuLayout::entry(int id) const {
    return id >= 1 && contains(id) ? &entries_[static_cast<std::size_t>(id) - 1] : nullptr;
}

QString dbusMenuLabel(const std::string& title) {
    return QString::fromStdString(title).replace(QLatin1Char('_'), QStringLiteral("__"));
}

} // namespace driftmark
