#include "platform/linux/dbus/RemoteClient.h"

#include "platform/linux/dbus/BusAddress.h"
#include "platform/linux/dbus/InstanceEnvironment.h"
#include "platform/linux/dbus/ListedEntryArgument.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QVariant>
#include <cstdlib>

namespace driftmark {

namespace {

// Long enough for the running one to build its settings window the first time.
constexpr int replyTimeoutMs = 10000;

// What List answers: (id, title, position, shortcut) for each entry.
const QString listSignature = QStringLiteral("a(ssis)");

QString methodName(RemoteRequest request) {
    switch (request) {
    case RemoteRequest::copy:
        return QStringLiteral("Copy");
    case RemoteRequest::paste:
        return QStringLiteral("Paste");
    case RemoteRequest::list:
        return QStringLiteral("List");
    case RemoteRequest::openSettings:
        return QStringLiteral("OpenSettings");
    case RemoteRequest::quit:
        break;
    }
    return QStringLiteral("Quit");
}

RemoteAnswer failure(RemoteAnswer::Outcome outcome, std::string message) {
    return RemoteAnswer{outcome, std::move(message), {}};
}

// What the bus answers for a name without an owner that it may not start a service for.
bool nobodyOwnsTheName(const QDBusMessage& reply) {
    return reply.errorName() == QDBusError::errorString(QDBusError::ServiceUnknown) ||
           reply.errorName() == QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner");
}

} // namespace

RemoteAnswer RemoteClient::send(RemoteRequest request, const std::string& entry) {
    if (!sessionBusConfigured(std::getenv("DBUS_SESSION_BUS_ADDRESS"))) {
        return failure(RemoteAnswer::Outcome::notReached,
                       "there is no session bus (DBUS_SESSION_BUS_ADDRESS names none), so no running "
                       "Driftmark can be reached");
    }
    // Qt's bus connection wants an application object; this one needs no display.
    int argc = 1;
    char program[] = "driftmark-menubar";
    char* argv[] = {program, nullptr};
    QCoreApplication application(argc, argv);
    registerListedEntryType();

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return failure(RemoteAnswer::Outcome::notReached,
                       "cannot connect to the session bus: " + bus.lastError().message().toStdString());
    }
    QDBusMessage call = QDBusMessage::createMethodCall(busServiceName(), busObjectPath(), busInterfaceName(),
                                                       methodName(request));
    call.setAutoStartService(false);
    if (request == RemoteRequest::copy || request == RemoteRequest::paste) {
        call << QString::fromStdString(entry);
    }
    const QDBusMessage reply = bus.call(call, QDBus::Block, replyTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        if (nobodyOwnsTheName(reply)) {
            return failure(RemoteAnswer::Outcome::notReached, "Driftmark is not running");
        }
        const std::string message = reply.errorMessage().toStdString();
        if (reply.errorName() == busNoSuchEntryError() || reply.errorName() == busNotReadyError() ||
            reply.errorName() == busWindowUnavailableError()) {
            return failure(RemoteAnswer::Outcome::refused, message);
        }
        return failure(RemoteAnswer::Outcome::refused, "Driftmark did not answer: " + message);
    }
    RemoteAnswer answer;
    if (request == RemoteRequest::list) {
        // Whoever owns the name is another process: its reply is read only in the form ours writes, as
        // demarshalling it as a type it does not have crashes Qt.
        if (reply.signature() != listSignature) {
            return failure(RemoteAnswer::Outcome::refused,
                           "Driftmark answered the list with data of the wrong type (" +
                               reply.signature().toStdString() + " instead of " +
                               listSignature.toStdString() + ")");
        }
        const auto entries = qdbus_cast<QList<ListedEntry>>(reply.arguments().value(0));
        answer.entries.assign(entries.begin(), entries.end());
    }
    return answer;
}

} // namespace driftmark
