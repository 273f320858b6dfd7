#pragma once

#include "platform/linux/dbus/SessionClaim.h"

#include <QDBusConnection>
#include <QObject>
#include <functional>

namespace driftmark {

// The session claim on the session bus: the name app.driftmark.menubar, and the object
// /app/driftmark/menubar whose OpenSettings method a later start calls.
class SessionBusInstance final : public QObject, public SessionClaim {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "app.driftmark.menubar")

public:
    // Connects to the session bus; connected() says whether that worked.
    explicit SessionBusInstance(std::function<void()> openSettings);
    ~SessionBusInstance() override;

    bool connected() const;

    bool tryAcquire() override;
    // Waits in the bus's queue for the name, so that the bus itself hands it over when `pid` goes.
    bool acquireAfter(pid_t pid, std::chrono::milliseconds timeout) override;
    Request askHolderToOpenSettings() override;

public Q_SLOTS:
    Q_SCRIPTABLE void OpenSettings();

private:
    bool ownsName() const;

    QDBusConnection bus_;
    std::function<void()> openSettings_;
    bool registered_ = false;
};

} // namespace driftmark
