#include "platform/linux/sni/DBusMenuHostKeys.h"

#include "platform/linux/sni/KeyCombination.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>

namespace driftmark {

namespace {

const QString shortcutProperty = QStringLiteral("shortcut");

} // namespace

DBusMenuKeyNames dbusMenuKeyNamesOf(const QDBusConnection& connection, const QString& caller) {
    QDBusConnectionInterface* bus = connection.interface();
    if (bus == nullptr) {
        return DBusMenuKeyNames::keySymbols;
    }
    const QDBusReply<uint> pid = bus->servicePid(caller);
    if (!pid.isValid()) {
        return DBusMenuKeyNames::keySymbols;
    }
    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid.value()));
    if (!maps.open(QIODevice::ReadOnly)) {
        return DBusMenuKeyNames::keySymbols;
    }
    return dbusMenuKeyNamesFromMaps(maps.readAll());
}

DBusMenuKeyNames dbusMenuKeyNamesFromMaps(const QByteArray& maps) {
    // The dbusmenu library itself decides; a Qt program with a copy of its own (Plasma) has Qt's core and
    // no GTK. A Qt program may load GTK for its looks, so GTK alone says less than Qt's dbusmenu.
    if (maps.contains("/libdbusmenu-qt") || maps.contains("/libdbusmenu-lxqt")) {
        return DBusMenuKeyNames::qt;
    }
    if (maps.contains("/libdbusmenu-gtk") || maps.contains("/libgtk-")) {
        return DBusMenuKeyNames::keySymbols;
    }
    if (maps.contains("/libQt5Core") || maps.contains("/libQt6Core")) {
        return DBusMenuKeyNames::qt;
    }
    return DBusMenuKeyNames::keySymbols;
}

QVariantMap dbusMenuPropertiesFor(DBusMenuKeyNames names, QVariantMap properties) {
    const auto found = properties.find(shortcutProperty);
    if (names == DBusMenuKeyNames::keySymbols || found == properties.end()) {
        return properties;
    }
    auto shortcut = found.value().value<DBusMenuShortcut>();
    for (QStringList& combination : shortcut) {
        if (!combination.isEmpty()) {
            combination.last() = QString::fromStdString(qtHostKeyName(combination.last().toStdString()));
        }
    }
    found.value() = QVariant::fromValue(shortcut);
    return properties;
}

DBusMenuLayoutItem dbusMenuLayoutFor(DBusMenuKeyNames names, DBusMenuLayoutItem item) {
    if (names == DBusMenuKeyNames::keySymbols) {
        return item;
    }
    item.properties = dbusMenuPropertiesFor(names, std::move(item.properties));
    for (DBusMenuLayoutItem& child : item.children) {
        child = dbusMenuLayoutFor(names, std::move(child));
    }
    return item;
}

} // namespace driftmark
