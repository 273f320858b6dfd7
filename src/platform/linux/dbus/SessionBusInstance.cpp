#include "platform/linux/dbus/SessionBusInstance.h"

#include "platform/OutsideText.h"
#include "platform/RemoteRequests.h"
#include "platform/linux/dbus/BusAddress.h"
#include "platform/linux/dbus/ListedEntryArgument.h"

#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusReply>
#include <QEventLoop>
#include <QTimer>

namespace driftmark {

namespace {

// Long enough for the running one to build its settings window the first time.
constexpr int openSettingsReplyTimeoutMs = 10000;

// Enough of an entry argument for the control to refuse it when it is too long, without copying the rest
// of one that is: a UTF-16 unit is at least one byte of UTF-8.
std::string boundedArgument(const QString& argument) {
    return argument.left(static_cast<qsizetype>(OutsideText::argumentLimit) + 1).toStdString();
}

// An error reply's message, which the caller may print on a terminal.
QString replyText(std::string_view message) {
    return QString::fromStdString(OutsideText::excerpt(message, OutsideText::messageLimit));
}

} // namespace

SessionBusInstance::SessionBusInstance(RemoteControlProvider remoteControl)
    : bus_(QDBusConnection::sessionBus())
    , remoteControl_(std::move(remoteControl)) {
    registerListedEntryType();
    // The object is there before the name, so a start that finds the name can always call it.
    if (bus_.isConnected()) {
        registered_ = bus_.registerObject(busObjectPath(), this, QDBusConnection::ExportScriptableSlots);
    }
}

SessionBusInstance::~SessionBusInstance() {
    if (registered_) {
        bus_.unregisterObject(busObjectPath());
    }
}

bool SessionBusInstance::connected() const {
    return bus_.isConnected() && registered_;
}

bool SessionBusInstance::tryAcquire() {
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus_.interface()->registerService(busServiceName(), QDBusConnectionInterface::DontQueueService,
                                          QDBusConnectionInterface::DontAllowReplacement);
    return reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
}

bool SessionBusInstance::acquireAfter(pid_t pid, std::chrono::milliseconds timeout) {
    QDBusConnectionInterface* const bus = bus_.interface();
    const QDBusReply<uint> holder = bus->servicePid(busServiceName());
    if (!holder.isValid()) {
        // It went between our two requests.
        return tryAcquire();
    }
    if (static_cast<pid_t>(holder.value()) != pid) {
        return false;
    }

    // Start-up waits here before anything else exists; the loop only ends the wait.
    QEventLoop wait;
    bool acquired = false;
    connect(bus, &QDBusConnectionInterface::serviceRegistered, &wait, [&](const QString& name) {
        if (name == busServiceName()) {
            acquired = true;
            wait.quit();
        }
    });
    QTimer::singleShot(timeout, &wait, &QEventLoop::quit);
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus->registerService(busServiceName(), QDBusConnectionInterface::QueueService,
                             QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid()) {
        return false;
    }
    if (reply.value() == QDBusConnectionInterface::ServiceRegistered) {
        return true;
    }
    wait.exec(QEventLoop::ExcludeUserInputEvents);
    if (acquired || ownsName()) {
        return true;
    }
    // Leave the queue, or the name would come to us later, unasked.
    bus->unregisterService(busServiceName());
    return false;
}

SessionClaim::Answer SessionBusInstance::askHolderToOpenSettings() {
    const QDBusMessage call = QDBusMessage::createMethodCall(
        busServiceName(), busObjectPath(), busInterfaceName(), QStringLiteral("OpenSettings"));
    const QDBusMessage reply = bus_.call(call, QDBus::Block, openSettingsReplyTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage) {
        return {Request::delivered, {}};
    }
    const std::string reason =
        OutsideText::excerpt(reply.errorMessage().toStdString(), OutsideText::messageLimit);
    if (reply.errorName() == busWindowUnavailableError()) {
        return {Request::refused, reason};
    }
    // Only silence means that the holder hangs; one still starting up or just quitting says so.
    const QDBusError::ErrorType error = QDBusError(reply).type();
    if (error == QDBusError::NoReply || error == QDBusError::Timeout) {
        return {Request::unanswered, {}};
    }
    return {Request::failed, reason};
}

std::optional<pid_t> SessionBusInstance::holderProcess() {
    const QDBusReply<uint> holder = bus_.interface()->servicePid(busServiceName());
    if (!holder.isValid() || holder.value() == 0) {
        return std::nullopt;
    }
    return static_cast<pid_t>(holder.value());
}

void SessionBusInstance::Copy(const QString& entry) {
    if (RemoteRequests* const control = remoteControl()) {
        replyRefusal(control->copy(boundedArgument(entry)));
    }
}

void SessionBusInstance::Paste(const QString& entry) {
    if (RemoteRequests* const control = remoteControl()) {
        replyRefusal(control->paste(boundedArgument(entry)));
    }
}

QList<ListedEntry> SessionBusInstance::List() {
    RemoteRequests* const control = remoteControl();
    if (control == nullptr) {
        return {};
    }
    const auto entries = control->list();
    return QList<ListedEntry>(entries.begin(), entries.end());
}

void SessionBusInstance::OpenSettings() {
    if (RemoteRequests* const control = remoteControl()) {
        if (const auto refusal = control->openSettings()) {
            sendErrorReply(busWindowUnavailableError(), replyText(*refusal));
        }
    }
}

void SessionBusInstance::Quit() {
    // The reply goes out before the event loop gets to the quit.
    if (RemoteRequests* const control = remoteControl()) {
        control->quit();
    }
}

RemoteRequests* SessionBusInstance::remoteControl() {
    RemoteRequests* const control = remoteControl_ ? remoteControl_() : nullptr;
    if (control == nullptr) {
        sendErrorReply(busNotReadyError(), QStringLiteral("Driftmark is still starting up; try again"));
    }
    return control;
}

void SessionBusInstance::replyRefusal(const std::optional<std::string>& refusal) {
    if (refusal) {
        sendErrorReply(busNoSuchEntryError(), replyText(*refusal));
    }
}

bool SessionBusInstance::ownsName() const {
    const QDBusReply<QString> owner = bus_.interface()->serviceOwner(busServiceName());
    return owner.isValid() && owner.value() == bus_.baseService();
}

} // namespace driftmark
