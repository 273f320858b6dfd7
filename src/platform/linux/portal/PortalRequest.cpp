#include "platform/linux/portal/PortalRequest.h"

#include "platform/linux/portal/PortalHandlePath.h"
#include "platform/linux/portal/PortalOwner.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>

namespace driftmark {

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString responseSignature = QStringLiteral("ua{sv}");

// Unique within the process, which is all the portal asks of a token.
QString nextHandleToken() {
    static quint64 counter = 0;
    return QStringLiteral("driftmark_request_%1").arg(++counter);
}

QDBusError wrongType(const QString& what, const QString& signature, const QString& expected) {
    return QDBusError(QDBusError::InvalidSignature,
                      QStringLiteral("%1 came as (%2) instead of (%3)").arg(what, signature, expected));
}

} // namespace

PortalRequest::PortalRequest(const Target& target, const QString& method, Answered answered, Failed failed,
                             QObject* parent)
    : QObject(parent)
    , bus_(target.bus)
    , owner_(target.owner)
    , method_(method)
    , answered_(std::move(answered))
    , failed_(std::move(failed)) {
    deadline_.setSingleShot(true);
    deadline_.setInterval(target.answerLimit);
    connect(&deadline_, &QTimer::timeout, this, [this] { fail(unanswered()); });
}

QDBusError PortalRequest::unanswered() const {
    return QDBusError(QDBusError::TimedOut,
                      QStringLiteral("%1 was not answered within %2 s")
                          .arg(method_, QString::number(static_cast<double>(deadline_.interval()) / 1000)));
}

void PortalRequest::send(const Target& target, const QString& interface, const QString& method,
                         const QVariantList& arguments, QVariantMap options, QObject* parent,
                         Answered answered, Failed failed) {
    auto* request = new PortalRequest(target, method, std::move(answered), std::move(failed), parent);
    const QString token = nextHandleToken();
    options.insert(QStringLiteral("handle_token"), token);
    request->listenAt(portalHandlePath(target.bus, QStringLiteral("request"), token));

    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, interface, method);
    call.setArguments(QVariantList(arguments) << options);
    const auto limit = static_cast<int>(target.answerLimit.count());
    auto* watcher = new QDBusPendingCallWatcher(target.bus.asyncCall(call, limit), request);
    request->deadline_.start();
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, request, [request, watcher] {
        watcher->deleteLater();
        request->called(watcher->reply());
    });
}

void PortalRequest::called(const QDBusMessage& reply) {
    if (done_) {
        return;
    }
    if (reply.type() != QDBusMessage::ReplyMessage) {
        // The bus gives up on the call when the deadline would; either way the portal did not answer.
        const QDBusError error(reply);
        fail(error.type() == QDBusError::NoReply ? unanswered() : error);
        return;
    }
    if (reply.signature() != QStringLiteral("o")) {
        fail(wrongType(QStringLiteral("The reply to ") + method_, reply.signature(), QStringLiteral("o")));
        return;
    }
    // Portals older than the predictable paths put the request elsewhere and say where.
    const QString path = reply.arguments().constFirst().value<QDBusObjectPath>().path();
    if (path != path_) {
        stopListening();
        listenAt(path);
    }
}

void PortalRequest::listenAt(const QString& path) {
    path_ = path;
    // Without a sender: matching on the portal's well-known name would make Qt ask the bus for its owner
    // and wait for the answer. The portal's owner, followed without waiting, is checked on each signal.
    bus_.connect(QString(), path_, requestInterface, QStringLiteral("Response"), this,
                 SLOT(respond(QDBusMessage)));
}

void PortalRequest::stopListening() {
    bus_.disconnect(QString(), path_, requestInterface, QStringLiteral("Response"), this,
                    SLOT(respond(QDBusMessage)));
}

void PortalRequest::respond(const QDBusMessage& message) {
    // Any connection can send a signal at this path: only the portal answers.
    if (done_ || !owner_.sent(message)) {
        return;
    }
    if (message.signature() != responseSignature) {
        fail(wrongType(QStringLiteral("The response to ") + method_, message.signature(), responseSignature));
        return;
    }
    const QVariantList arguments = message.arguments();
    const uint response = arguments[0].toUInt();
    const auto results = qdbus_cast<QVariantMap>(arguments[1]);
    finish();
    answered_(response, results);
}

void PortalRequest::fail(const QDBusError& error) {
    if (done_) {
        return;
    }
    finish();
    failed_(error);
}

void PortalRequest::finish() {
    done_ = true;
    deadline_.stop();
    stopListening();
    deleteLater();
}

} // namespace driftmark
