#include "platform/linux/portal/PortalHandlePath.h"

namespace driftmark {

QString portalHandlePath(const QDBusConnection& bus, const QString& kind, const QString& token) {
    QString sender = bus.baseService();
    sender.remove(QLatin1Char(':'));
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("/org/freedesktop/portal/desktop/") + kind + QLatin1Char('/') + sender +
           QLatin1Char('/') + token;
}

} // namespace driftmark
