#pragma once

#include "platform/RemoteRequests.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QList>
#include <QString>

// A listed entry on the session bus: the structure (ssis) of id, title, position and shortcut.
namespace driftmark {

inline QDBusArgument& operator<<(QDBusArgument& argument, const ListedEntry& entry) {
    argument.beginStructure();
    argument << QString::fromStdString(entry.id) << QString::fromStdString(entry.title) << entry.position
             << QString::fromStdString(entry.shortcut);
    argument.endStructure();
    return argument;
}

inline const QDBusArgument& operator>>(const QDBusArgument& argument, ListedEntry& entry) {
    QString id;
    QString title;
    QString shortcut;
    argument.beginStructure();
    argument >> id >> title >> entry.position >> shortcut;
    argument.endStructure();
    entry.id = id.toStdString();
    entry.title = title.toStdString();
    entry.shortcut = shortcut.toStdString();
    return argument;
}

// Both the running Driftmark and a start that calls it register the types before they use the bus.
inline void registerListedEntryType() {
    qDBusRegisterMetaType<ListedEntry>();
    qDBusRegisterMetaType<QList<ListedEntry>>();
}

} // namespace driftmark
