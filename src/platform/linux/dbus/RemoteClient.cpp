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
#include <ostream>

namespace driftmark {

namespace {

// Long enough for the running one to build its settings window the first time.
constexpr int replyTimeoutMs = 10000;

QString methodName(CommandLine::Command command) {
    switch (command) {
    case CommandLine::Command::copy:
        return QStringLiteral("Copy");
    case CommandLine::Command::paste:
        return QStringLiteral("Paste");
    case CommandLine::Command::list:
        return QStringLiteral("List");
    case CommandLine::Command::settings:
        return QStringLiteral("OpenSettings");
    case CommandLine::Command::quit:
        return QStringLiteral("Quit");
    case CommandLine::Command::start:
    case CommandLine::Command::help:
    case CommandLine::Command::version:
        break;
    }
    return {};
}

// What the bus answers for a name without an owner that it may not start a service for.
bool nobodyOwnsTheName(const QDBusMessage& reply) {
    return reply.errorName() == QDBusError::errorString(QDBusError::ServiceUnknown) ||
           reply.errorName() == QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner");
}

} // namespace

RemoteClient::RemoteClient(std::ostream& output, std::ostream& errors)
    : output_(output)
    , errors_(errors) {}

int RemoteClient::send(const CommandLine::Options& options) {
    if (!sessionBusConfigured(std::getenv("DBUS_SESSION_BUS_ADDRESS"))) {
        return fail(CommandLine::exitNotReached,
                    "there is no session bus (DBUS_SESSION_BUS_ADDRESS names none), so no running Driftmark "
                    "can be reached");
    }
    // Qt's bus connection wants an application object; this one needs no display.
    int argc = 1;
    char program[] = "driftmark-menubar";
    char* argv[] = {program, nullptr};
    QCoreApplication application(argc, argv);
    registerListedEntryType();

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return fail(CommandLine::exitNotReached,
                    "cannot connect to the session bus: " + bus.lastError().message().toStdString());
    }
    QDBusMessage call = QDBusMessage::createMethodCall(busServiceName(), busObjectPath(), busInterfaceName(),
                                                       methodName(options.command));
    call.setAutoStartService(false);
    if (options.command == CommandLine::Command::copy || options.command == CommandLine::Command::paste) {
        call << QString::fromStdString(options.entry);
    }
    const QDBusMessage reply = bus.call(call, QDBus::Block, replyTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        if (nobodyOwnsTheName(reply)) {
            return fail(CommandLine::exitNotReached, "Driftmark is not running");
        }
        const std::string message = reply.errorMessage().toStdString();
        if (reply.errorName() == busNoSuchEntryError() || reply.errorName() == busNotReadyError()) {
            return fail(CommandLine::exitRefused, message);
        }
        return fail(CommandLine::exitRefused, "Driftmark did not answer: " + message);
    }
    if (options.command == CommandLine::Command::list) {
        const auto entries = qdbus_cast<QList<ListedEntry>>(reply.arguments().value(0));
        for (const ListedEntry& entry : entries) {
            output_ << entry.line() << '\n';
        }
        output_.flush();
    }
    return 0;
}

int RemoteClient::fail(int status, const std::string& message) {
    errors_ << CommandLine::programName << ": " << message << std::endl;
    return status;
}

} // namespace driftmark
