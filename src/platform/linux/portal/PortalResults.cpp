#include "platform/linux/portal/PortalResults.h"

#include "platform/linux/portal/PortalShortcut.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QStringList>
#include <QVariant>

namespace driftmark {

namespace {

const QString shortcutsSignature = QStringLiteral("a(sa{sv})");

// A D-Bus object path: "/", or elements of [A-Za-z0-9_] each after a "/".
bool isObjectPath(const QString& path) {
    if (path == QStringLiteral("/")) {
        return true;
    }
    if (!path.startsWith(QLatin1Char('/'))) {
        return false;
    }
    const QStringList elements = path.mid(1).split(QLatin1Char('/'));
    for (const QString& element : elements) {
        if (element.isEmpty()) {
            return false;
        }
        for (const QChar character : element) {
            const char16_t unit = character.unicode();
            const bool allowed = (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z') ||
                                 (unit >= u'0' && unit <= u'9') || unit == u'_';
            if (!allowed) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

std::optional<QSet<QString>> shortcutIdsIn(const QVariantMap& results, QString& found) {
    const auto value = results.constFind(QStringLiteral("shortcuts"));
    if (value == results.constEnd()) {
        return QSet<QString>();
    }
    // Qt leaves a container inside a variant as an argument still to be read.
    if (value->userType() != qMetaTypeId<QDBusArgument>() ||
        value->value<QDBusArgument>().currentSignature() != shortcutsSignature) {
        found = dbusSignatureOf(*value);
        return std::nullopt;
    }
    QSet<QString> ids;
    for (const PortalShortcut& shortcut : qdbus_cast<PortalShortcutList>(*value)) {
        ids.insert(shortcut.id);
    }
    return ids;
}

std::optional<QString> sessionHandleIn(const QVariantMap& results, QString& found) {
    const auto value = results.constFind(QStringLiteral("session_handle"));
    if (value == results.constEnd()) {
        return QString();
    }
    if (value->userType() == qMetaTypeId<QDBusObjectPath>()) {
        return value->value<QDBusObjectPath>().path();
    }
    if (value->userType() == QMetaType::QString && isObjectPath(value->toString())) {
        return value->toString();
    }
    found = value->userType() == QMetaType::QString ? QStringLiteral("s (no object path)")
                                                    : dbusSignatureOf(*value);
    return std::nullopt;
}

QString dbusSignatureOf(const QVariant& value) {
    if (value.userType() == qMetaTypeId<QDBusArgument>()) {
        return value.value<QDBusArgument>().currentSignature();
    }
    if (const char* signature = QDBusMetaType::typeToSignature(value.metaType())) {
        return QString::fromLatin1(signature);
    }
    return QString::fromLatin1(value.typeName());
}

} // namespace driftmark
