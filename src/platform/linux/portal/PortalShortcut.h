#pragma once

#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

class QDBusArgument;

namespace driftmark {

// One shortcut as the global-shortcuts portal passes it, (sa{sv}): an id of the application's own and
// properties such as "description" and "preferred_trigger" (asked for) or "trigger_description" (given).
struct PortalShortcut {
    QString id;
    QVariantMap properties;

    // Makes the shortcut and lists of them known to Qt's D-Bus type system; needed once per process
    // before the first call that carries them.
    static void registerDBusTypes();
};

using PortalShortcutList = QList<PortalShortcut>;

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut);

} // namespace driftmark

Q_DECLARE_METATYPE(driftmark::PortalShortcut)
Q_DECLARE_METATYPE(driftmark::PortalShortcutList)
