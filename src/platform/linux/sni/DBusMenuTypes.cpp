#include "platform/linux/sni/DBusMenuTypes.h"

#include "platform/linux/sni/DBusValueCheck.h"

#include <QDBusMetaType>

namespace driftmark {

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuLayoutItem& item) {
    argument.beginStructure();
    argument << item.id << item.properties;
    argument.beginArray(qMetaTypeId<QDBusVariant>());
    for (const DBusMenuLayoutItem& child : item.children) {
        argument << QDBusVariant(QVariant::fromValue(child));
    }
    argument.endArray();
    argument.endStructure();
    return argument;
}

namespace {

const char* const layoutSignature = "(ia{sv}av)";
const char* const layoutName = "dbusmenu layout";

} // namespace

// A child that is no menu item is left out; the others keep their order.
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuLayoutItem& item) {
    item = {};
    if (!DBusValueCheck::readable(argument, layoutSignature, layoutName)) {
        return argument;
    }
    argument.beginStructure();
    argument >> item.id >> item.properties;
    argument.beginArray();
    while (!argument.atEnd()) {
        QDBusVariant child;
        argument >> child;
        if (DBusValueCheck::readable(child.variant(), layoutSignature, layoutName)) {
            item.children.append(qdbus_cast<DBusMenuLayoutItem>(child.variant()));
        }
    }
    argument.endArray();
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItemProperties& item) {
    argument.beginStructure();
    argument << item.id << item.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItemProperties& item) {
    item = {};
    if (!DBusValueCheck::readable(argument, "(ia{sv})", "dbusmenu item's properties")) {
        return argument;
    }
    argument.beginStructure();
    argument >> item.id >> item.properties;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItemPropertyNames& item) {
    argument.beginStructure();
    argument << item.id << item.names;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItemPropertyNames& item) {
    item = {};
    if (!DBusValueCheck::readable(argument, "(ias)", "dbusmenu item's property names")) {
        return argument;
    }
    argument.beginStructure();
    argument >> item.id >> item.names;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuEvent& event) {
    argument.beginStructure();
    argument << event.id << event.eventId << event.data << event.timestamp;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuEvent& event) {
    event = {};
    if (!DBusValueCheck::readable(argument, "(isvu)", "dbusmenu event")) {
        return argument;
    }
    argument.beginStructure();
    argument >> event.id >> event.eventId >> event.data >> event.timestamp;
    argument.endStructure();
    return argument;
}

void registerDBusMenuTypes() {
    static const bool registered = [] {
        qDBusRegisterMetaType<DBusMenuLayoutItem>();
        qDBusRegisterMetaType<DBusMenuItemProperties>();
        qDBusRegisterMetaType<DBusMenuItemPropertiesList>();
        qDBusRegisterMetaType<DBusMenuItemPropertyNames>();
        qDBusRegisterMetaType<DBusMenuItemPropertyNamesList>();
        qDBusRegisterMetaType<DBusMenuEvent>();
        qDBusRegisterMetaType<DBusMenuEventList>();
        qDBusRegisterMetaType<DBusMenuShortcut>();
        // QtDBus finds the types of signals and slots by the names they are declared with.
        qRegisterMetaType<DBusMenuItemPropertiesList>("driftmark::DBusMenuItemPropertiesList");
        qRegisterMetaType<DBusMenuItemPropertyNamesList>("driftmark::DBusMenuItemPropertyNamesList");
        qRegisterMetaType<DBusMenuEventList>("driftmark::DBusMenuEventList");
        return true;
    }();
    static_cast<void>(registered);
}

} // namespace driftmark
