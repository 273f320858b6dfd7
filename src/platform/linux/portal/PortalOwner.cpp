#include "platform/linux/portal/PortalOwner.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace driftmark {

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");

} // namespace

PortalOwner::PortalOwner(const QDBusConnection& bus, QObject* parent)
    : QObject(parent)
    , watcher_(portalService, bus, QDBusServiceWatcher::WatchForOwnerChange) {
    // The watcher listens before the question goes out, and the bus answers both in order: whichever of the
    // two comes last is the owner now.
    connect(&watcher_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) { owner_ = newOwner; });
    QDBusMessage question = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("GetNameOwner"));
    question << portalService;
    auto* answer = new QDBusPendingCallWatcher(bus.asyncCall(question), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this, answer] {
        answer->deleteLater();
        // A typed reply checks the signature; an error means nobody owns the name yet.
        const QDBusPendingReply<QString> reply = *answer;
        if (!reply.isError()) {
            owner_ = reply.value();
        }
    });
}

bool PortalOwner::sent(const QDBusMessage& message) const {
    return !owner_.isEmpty() && message.service() == owner_;
}

} // namespace driftmark
