#pragma once

#include <QDBusConnection>
#include <QDBusError>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <QVariantMap>
#include <functional>

namespace driftmark {

// One call of a desktop-portal method that answers later through a Request object. The Response signal is
// subscribed to at the request's predictable path before the call goes out, so that a portal answering at
// once is not missed. Nothing waits: the answer or the call's error reaches one of the two callbacks, on
// the main thread, and the request then deletes itself. Deleting its parent first silences it.
class PortalRequest final : public QObject {
    Q_OBJECT

public:
    // The response code (0 success, 1 cancelled by the user, 2 other failure) and the results.
    using Answered = std::function<void(uint response, const QVariantMap& results)>;
    using Failed = std::function<void(const QDBusError& error)>;

    // Calls `method` of `interface` on the portal's object with `arguments` followed by `options`, to which
    // a handle token of the request's own is added.
    static void send(const QDBusConnection& bus, const QString& interface, const QString& method,
                     const QVariantList& arguments, QVariantMap options, QObject* parent, Answered answered,
                     Failed failed);

private Q_SLOTS:
    void respond(uint response, const QVariantMap& results);

private:
    PortalRequest(const QDBusConnection& bus, Answered answered, Failed failed, QObject* parent);

    void listenAt(const QString& path);
    void stopListening();
    void callFailed(const QDBusError& error);

    QDBusConnection bus_;
    Answered answered_;
    Failed failed_;
    QString path_;
    bool done_ = false;
};

} // namespace driftmark
