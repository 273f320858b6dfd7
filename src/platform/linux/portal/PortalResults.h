#pragma once

#include <QSet>
#include <QString>
#include <QVariantMap>
#include <optional>

class QVariant;

namespace driftmark {

// Reads the values of a portal's results only when each has the D-Bus type the portal documents: the portal
// is another program, and demarshalling a value as a type it does not have crashes Qt. Each function is
// absent for a value of another type and then says in `found` which type came instead.

// The ids of the shortcuts under "shortcuts", an a(sa{sv}); none when the results have no such key.
std::optional<QSet<QString>> shortcutIdsIn(const QVariantMap& results, QString& found);

// The session handle under "session_handle": an object path, or a string holding one, as some portals
// write it; empty when the results have no such key.
std::optional<QString> sessionHandleIn(const QVariantMap& results, QString& found);

// The D-Bus signature of a value as Qt demarshalled it, for saying what came.
QString dbusSignatureOf(const QVariant& value);

} // namespace driftmark
