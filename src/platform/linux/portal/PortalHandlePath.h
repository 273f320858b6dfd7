#pragma once

#include <QDBusConnection>
#include <QString>

namespace driftmark {

// Where the portal puts a request or a session of ours (`kind` "request" or "session"): its documented path
// from our unique name on `bus` and the token we gave it.
QString portalHandlePath(const QDBusConnection& bus, const QString& kind, const QString& token);

} // namespace driftmark
