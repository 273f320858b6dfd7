#pragma once

#include <QDBusConnection>
#include <QDBusError>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantList>
#include <QVariantMap>
#include <chrono>
#include <functional>

class QDBusMessage;

namespace driftmark {

class PortalOwner;

// One call of a desktop-portal method that answers later through a Request object. The Response signal is
// subscribed to at the request's predictable path before the call goes out, so that a portal answering at
// once is not missed, and taken only from the portal itself. Nothing waits: the answer or the call's error
// reaches one of the two callbacks, on the main thread, and the request then deletes itself. Deleting its
// parent first silences it.
//
// The portal is another program: an answer of the wrong D-Bus type fails the request with
// QDBusError::InvalidSignature, and a request not answered within the limit fails with
// QDBusError::TimedOut, each with a message saying what went wrong.
class PortalRequest final : public QObject {
    Q_OBJECT

public:
    // The response code (0 success, 1 cancelled by the user, 2 other failure) and the results.
    using Answered = std::function<void(uint response, const QVariantMap& results)>;
    using Failed = std::function<void(const QDBusError& error)>;

    // Where requests go: the bus, the portal's owner on it (which must outlive the requests' answers), and
    // how long the portal has for the call and its Response together.
    struct Target {
        QDBusConnection bus;
        const PortalOwner& owner;
        std::chrono::milliseconds answerLimit;
    };

    // Calls `method` of `interface` on the portal's object with `arguments` followed by `options`, to which
    // a handle token of the request's own is added.
    static void send(const Target& target, const QString& interface, const QString& method,
                     const QVariantList& arguments, QVariantMap options, QObject* parent, Answered answered,
                     Failed failed);

private Q_SLOTS:
    void respond(const QDBusMessage& message);

private:
    PortalRequest(const Target& target, const QString& method, Answered answered, Failed failed,
                  QObject* parent);

    void called(const QDBusMessage& reply);
    void listenAt(const QString& path);
    void stopListening();
    QDBusError unanswered() const;
    void fail(const QDBusError& error);
    void finish();

    QDBusConnection bus_;
    const PortalOwner& owner_;
    QString method_;
    Answered answered_;
    Failed failed_;
    QString path_;
    QTimer deadline_;
    bool done_ = false;
};

} // namespace driftmark
