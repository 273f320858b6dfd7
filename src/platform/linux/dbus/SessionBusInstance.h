#pragma once

#include "platform/RemoteRequests.h"
#include "platform/linux/dbus/SessionClaim.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>

namespace driftmark {

class RemoteRequests;

// The session claim on the session bus: the name app.driftmark.menubar, and the object
// /app/driftmark/menubar whose methods later starts call (OpenSettings when started without options, the
// others from the control options). Each method hands the request on to the application; refusals come
// back as D-Bus errors whose message says why.
class SessionBusInstance final : public QObject, public SessionClaim, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "app.driftmark.menubar")

public:
    // The provider gives none while the program is still starting up.
    using RemoteControlProvider = std::function<RemoteRequests*()>;

    // Connects to the session bus; connected() says whether that worked.
    explicit SessionBusInstance(RemoteControlProvider remoteControl);
    ~SessionBusInstance() override;

    bool connected() const;

    bool tryAcquire() override;
    // Waits in the bus's queue for the name, so that the bus itself hands it over when `pid` goes.
    bool acquireAfter(pid_t pid, std::chrono::milliseconds timeout) override;
    Answer askHolderToOpenSettings() override;
    std::optional<pid_t> holderProcess() override;

public Q_SLOTS:
    // ENTRY is a position counted from 1 or an entry id.
    Q_SCRIPTABLE void Copy(const QString& entry);
    Q_SCRIPTABLE void Paste(const QString& entry);
    // Each entry's id, title, position and shortcut text.
    Q_SCRIPTABLE QList<driftmark::ListedEntry> List();
    // An error reply says why when the window cannot be built.
    Q_SCRIPTABLE void OpenSettings();
    Q_SCRIPTABLE void Quit();

private:
    bool ownsName() const;
    // The control, or none after an error reply saying that the program is still starting.
    RemoteRequests* remoteControl();
    void replyRefusal(const std::optional<std::string>& refusal);

    QDBusConnection bus_;
    RemoteControlProvider remoteControl_;
    bool registered_ = false;
};

} // namespace driftmark
