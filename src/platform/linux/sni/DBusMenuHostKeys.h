#pragma once

#include "platform/linux/sni/DBusMenuTypes.h"

#include <QByteArray>
#include <QString>
#include <QVariantMap>

class QDBusConnection;

namespace driftmark {

// Which key names a dbusmenu host reads in an item's "shortcut": GTK's dbusmenu (Xfce, waybar) only X
// key symbol names ("comma"), Qt's (libdbusmenu-qt, and Plasma's copy of it) only Qt's (",").
enum class DBusMenuKeyNames { keySymbols, qt };

// What the host behind a caller on the bus reads, known by the libraries its process has loaded. A caller
// that cannot be looked at (no bus daemon, another user's process) gets key symbol names, the protocol's
// own.
DBusMenuKeyNames dbusMenuKeyNamesOf(const QDBusConnection& connection, const QString& caller);
// The same from the text of the host process's /proc/PID/maps.
DBusMenuKeyNames dbusMenuKeyNamesFromMaps(const QByteArray& maps);
// An item's properties with its shortcut in the names the host reads; the layout holds key symbol names.
QVariantMap dbusMenuPropertiesFor(DBusMenuKeyNames names, QVariantMap properties);
DBusMenuLayoutItem dbusMenuLayoutFor(DBusMenuKeyNames names, DBusMenuLayoutItem item);

} // namespace driftmark
