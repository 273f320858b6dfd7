#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServer>
#include <QObject>
#include <QTemporaryDir>
#include <QVariantList>
#include <memory>

namespace driftmark::test {

// A private peer-to-peer D-Bus connection inside the test: one object exported on the server's side,
// called from the client's side as a tray host would call it. No bus daemon, no session bus.
class PeerBus {
public:
    // Exports `object` at `path` with its slots, signals and properties (a QDBusVirtualObject answers
    // every call itself); valid() tells whether it worked.
    PeerBus(QObject& object, const QString& path);
    ~PeerBus();
    PeerBus(const PeerBus&) = delete;
    PeerBus& operator=(const PeerBus&) = delete;

    bool valid() const { return !serverSide_.isEmpty(); }
    // Calls a method of the object and waits (running the event loop) for the reply.
    QDBusMessage call(const QString& interface, const QString& method, const QVariantList& arguments = {});
    QString introspection();

private:
    QObject& object_;
    QString path_;
    QTemporaryDir directory_;
    std::unique_ptr<QDBusServer> server_;
    QString clientName_;
    QString serverSide_;
};

} // namespace driftmark::test
