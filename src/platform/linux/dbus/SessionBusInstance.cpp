#include "platform/linux/dbus/SessionBusInstance.h"

#include "platform/SystemLog.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QEventLoop>
#include <QTimer>

namespace driftmark {

namespace {

QString serviceName() {
    return QString::fromLatin1(applicationId.data(), static_cast<qsizetype>(applicationId.size()));
}

const QString objectPath = QStringLiteral("/app/driftmark/menubar");
const QString interfaceName = QStringLiteral("app.driftmark.menubar");

// Long enough for the running one to build its settings window the first time.
constexpr int openSettingsReplyTimeoutMs = 10000;

} // namespace

SessionBusInstance::SessionBusInstance(std::function<void()> openSettings)
    : bus_(QDBusConnection::sessionBus())
    , openSettings_(std::move(openSettings)) {
    // The object is there before the name, so a start that finds the name can always call it.
    if (bus_.isConnected()) {
        registered_ = bus_.registerObject(objectPath, this, QDBusConnection::ExportScriptableSlots);
    }
}

SessionBusInstance::~SessionBusInstance() {
    if (registered_) {
        bus_.unregisterObject(objectPath);
    }
}

bool SessionBusInstance::connected() const {
    return bus_.isConnected() && registered_;
}

bool SessionBusInstance::tryAcquire() {
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus_.interface()->registerService(serviceName(), QDBusConnectionInterface::DontQueueService,
                                          QDBusConnectionInterface::DontAllowReplacement);
    return reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered;
}

bool SessionBusInstance::acquireAfter(pid_t pid, std::chrono::milliseconds timeout) {
    QDBusConnectionInterface* const bus = bus_.interface();
    const QDBusReply<uint> holder = bus->servicePid(serviceName());
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
        if (name == serviceName()) {
            acquired = true;
            wait.quit();
        }
    });
    QTimer::singleShot(timeout, &wait, &QEventLoop::quit);
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus->registerService(serviceName(), QDBusConnectionInterface::QueueService,
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
    bus->unregisterService(serviceName());
    return false;
}

SessionClaim::Request SessionBusInstance::askHolderToOpenSettings() {
    const QDBusMessage call = QDBusMessage::createMethodCall(serviceName(), objectPath, interfaceName,
                                                             QStringLiteral("OpenSettings"));
    const QDBusMessage reply = bus_.call(call, QDBus::Block, openSettingsReplyTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage ? Request::delivered : Request::unanswered;
}

void SessionBusInstance::OpenSettings() {
    if (openSettings_) {
        openSettings_();
    }
}

bool SessionBusInstance::ownsName() const {
    const QDBusReply<QString> owner = bus_.interface()->serviceOwner(serviceName());
    return owner.isValid() && owner.value() == bus_.baseService();
}

} // namespace driftmark
