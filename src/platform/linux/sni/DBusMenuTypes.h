#pragma once

#include <QDBusArgument>
#include <QDBusVariant>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariantMap>

namespace driftmark {

// A menu item with its properties and, below it, its children (D-Bus "(ia{sv}av)", each child a variant
// holding the same structure).
struct DBusMenuLayoutItem {
    int id = 0;
    QVariantMap properties;
    QList<DBusMenuLayoutItem> children;
};

// The properties of one item (D-Bus "(ia{sv})").
struct DBusMenuItemProperties {
    int id = 0;
    QVariantMap properties;
};

// The names of properties an item no longer has (D-Bus "(ias)").
struct DBusMenuItemPropertyNames {
    int id = 0;
    QStringList names;
};

// Something the user did to an item, such as "clicked" (D-Bus "(isvu)").
struct DBusMenuEvent {
    int id = 0;
    QString eventId;
    QDBusVariant data;
    uint timestamp = 0;
};

using DBusMenuItemPropertiesList = QList<DBusMenuItemProperties>;
using DBusMenuItemPropertyNamesList = QList<DBusMenuItemPropertyNames>;
using DBusMenuEventList = QList<DBusMenuEvent>;
// A shortcut: key combinations, each the modifiers' names and then the key (D-Bus "aas").
using DBusMenuShortcut = QList<QStringList>;

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuLayoutItem& item);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuLayoutItem& item);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItemProperties& item);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItemProperties& item);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItemPropertyNames& item);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItemPropertyNames& item);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuEvent& event);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuEvent& event);

// QtDBus leaves out every method, property and signal whose types it does not know: call this before
// exporting a menu.
void registerDBusMenuTypes();

} // namespace driftmark

Q_DECLARE_METATYPE(driftmark::DBusMenuLayoutItem)
Q_DECLARE_METATYPE(driftmark::DBusMenuItemProperties)
Q_DECLARE_METATYPE(driftmark::DBusMenuItemPropertyNames)
Q_DECLARE_METATYPE(driftmark::DBusMenuEvent)
