#include "platform/linux/portal/PortalRequest.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace driftmark {

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");

// Unique within the process, which is all the portal asks of a token.
QString nextHandleToken() {
    static quint64 counter = 0;
    return QStringLiteral("driftmark_request_%1").arg(++counter);
}

// Where the portal puts the request: its documented path from our unique name and the token.
QString requestPath(const QDBusConnection& bus, const QString& token) {
    QString sender = bus.baseService();
    sender.remove(QLatin1Char(':'));
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return portalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

} // namespace

PortalRequest::PortalRequest(const QDBusConnection& bus, Answered answered, Failed failed, QObject* parent)
    : QObject(parent)
    , bus_(bus)
    , answered_(std::move(answered))
    , failed_(std::move(failed)) {}

void PortalRequest::send(const QDBusConnection& bus, const QString& interface, const QString& method,
                         const QVariantList& arguments, QVariantMap options, QObject* parent,
                         Answered answered, Failed failed) {
    auto* request = new PortalRequest(bus, std::move(answered), std::move(failed), parent);
    const QString token = nextHandleToken();
    options.insert(QStringLiteral("handle_token"), token);
    request->listenAt(requestPath(bus, token));

    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, interface, method);
    call.setArguments(QVariantList(arguments) << options);
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), request);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, request, [request, watcher] {
        watcher->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *watcher;
        if (reply.isError()) {
            request->callFailed(reply.error());
            return;
        }
        // Portals older than the predictable paths put the request elsewhere and say where.
        const QString path = reply.value().path();
        if (!request->done_ && path != request->path_) {
            request->stopListening();
            request->listenAt(path);
        }
    });
}

void PortalRequest::listenAt(const QString& path) {
    path_ = path;
    // Without a sender: matching on the portal's well-known name would make Qt ask the bus for its owner
    // and wait for the answer. The path names our connection, which is enough to tell our requests apart.
    bus_.connect(QString(), path_, requestInterface, QStringLiteral("Response"), this,
                 SLOT(respond(uint, QVariantMap)));
}

void PortalRequest::stopListening() {
    bus_.disconnect(QString(), path_, requestInterface, QStringLiteral("Response"), this,
                    SLOT(respond(uint, QVariantMap)));
}

void PortalRequest::respond(uint response, const QVariantMap& results) {
    if (done_) {
        return;
    }
    done_ = true;
    stopListening();
    deleteLater();
    answered_(response, results);
}

void PortalRequest::callFailed(const QDBusError& error) {
    if (done_) {
        return;
    }
    done_ = true;
    stopListening();
    deleteLater();
    failed_(error);
}

} // namespace driftmark
