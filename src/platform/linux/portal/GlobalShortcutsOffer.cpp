#include "platform/linux/portal/GlobalShortcutsOffer.h"

#include "platform/linux/portal/PortalBackendFiles.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QString>
#include <QStringList>

namespace driftmark {

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
// A portal that runs answers at once; one that hangs holds up the start no longer than this.
constexpr int versionTimeoutMs = 2000;

bool hasShortcutsInterface(const QDBusConnection& bus) {
    QDBusMessage version = QDBusMessage::createMethodCall(
        portalService, QStringLiteral("/org/freedesktop/portal/desktop"),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    version << QStringLiteral("org.freedesktop.portal.GlobalShortcuts") << QStringLiteral("version");
    // A portal that has just gone must not be started again by the question.
    version.setAutoStartService(false);
    return bus.call(version, QDBus::Block, versionTimeoutMs).type() == QDBusMessage::ReplyMessage;
}

} // namespace

bool desktopOffersGlobalShortcuts(const QDBusConnection& bus, const PortalBackendFiles& files) {
    if (!bus.isConnected() || bus.interface() == nullptr) {
        return false;
    }
    const QDBusReply<bool> running = bus.interface()->isServiceRegistered(portalService);
    if (!running.isValid()) {
        return false;
    }
    if (running.value()) {
        if (!hasShortcutsInterface(bus)) {
            return false;
        }
    } else {
        const QDBusReply<QStringList> startable = bus.interface()->activatableServiceNames();
        if (!startable.isValid() || !startable.value().contains(portalService)) {
            return false;
        }
    }
    // The portal hands the interface to a backend made for another desktop when it finds none for this one
    // (KDE's on sway), and that backend refuses every call.
    return files.offerGlobalShortcuts();
}

} // namespace driftmark
