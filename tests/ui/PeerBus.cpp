#include "PeerBus.h"

#include <QCoreApplication>
#include <QDBusPendingCallWatcher>
#include <QDBusVirtualObject>
#include <QSignalSpy>

namespace driftmark::test {

namespace {

constexpr int replyTimeoutMs = 5000;
constexpr int connectionRounds = 100;
constexpr int connectionRoundMs = 50;

} // namespace

PeerBus::PeerBus(QObject& object, const QString& path)
    : object_(object)
    , path_(path) {
    static int buses = 0;
    clientName_ = QStringLiteral("peer-bus-client-%1").arg(++buses);
    if (!directory_.isValid()) {
        return;
    }
    server_ = std::make_unique<QDBusServer>(QStringLiteral("unix:dir=") + directory_.path());
    QObject::connect(server_.get(), &QDBusServer::newConnection, server_.get(),
                     [this](const QDBusConnection& peer) {
                         if (auto* handler = dynamic_cast<QDBusVirtualObject*>(&object_)) {
                             QDBusConnection(peer).registerVirtualObject(path_, handler);
                         } else {
                             QDBusConnection(peer).registerObject(path_, &object_,
                                                                  QDBusConnection::ExportAllSlots |
                                                                      QDBusConnection::ExportAllSignals |
                                                                      QDBusConnection::ExportAllProperties);
                         }
                         serverSide_ = peer.name();
                     });
    if (!QDBusConnection::connectToPeer(server_->address(), clientName_).isConnected()) {
        return;
    }
    for (int round = 0; round < connectionRounds && serverSide_.isEmpty(); ++round) {
        QSignalSpy(server_.get(), &QDBusServer::newConnection).wait(connectionRoundMs);
    }
}

PeerBus::~PeerBus() {
    QDBusConnection::disconnectFromPeer(clientName_);
    if (!serverSide_.isEmpty()) {
        QDBusConnection::disconnectFromPeer(serverSide_);
    }
}

QDBusMessage PeerBus::call(const QString& interface, const QString& method, const QVariantList& arguments) {
    QDBusMessage message = QDBusMessage::createMethodCall(QString(), path_, interface, method);
    message.setArguments(arguments);
    QDBusPendingCallWatcher watcher(QDBusConnection(clientName_).asyncCall(message));
    QSignalSpy finished(&watcher, &QDBusPendingCallWatcher::finished);
    if (!watcher.isFinished()) {
        finished.wait(replyTimeoutMs);
    }
    return watcher.reply();
}

QString PeerBus::introspection() {
    return call(QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect"))
        .arguments()
        .value(0)
        .toString();
}

} // namespace driftmark::test
