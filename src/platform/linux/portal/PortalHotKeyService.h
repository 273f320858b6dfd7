#pragma once

#include "platform/HotKeyService.h"
#include "platform/linux/keys/HotKeyDelivery.h"
#include "platform/linux/portal/PortalOwner.h"
#include "platform/linux/portal/PortalRequest.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantMap>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

class QDBusError;

namespace driftmark {

class KeyboardLayout;

// Global hot keys through the desktop's global-shortcuts portal (org.freedesktop.portal.GlobalShortcuts),
// for Wayland desktops, where no program may grab keys. The registered combinations are asked of one portal
// session as shortcuts of their own, each named after its combination and with it as the
// preferred trigger; the desktop decides, perhaps asking the user, and reports presses and releases.
// Registrations are accepted at once and the portal is talked to afterwards, never waited for.
//
// KDE Plasma 5.27 takes a session's shortcuts only from the session's creation and cannot replace them,
// while later portals take them through BindShortcuts. So every change of the set makes a new session with
// the whole set, and shortcuts are bound only when the new session does not list them all yet. Plasma 5.27
// keeps them under the session's token, so every session has the same one, and one session at most exists
// or is being made at a time. Changes made in one turn of the event loop make one new session at most, and
// none when they cancel out, as the settings window's trial registrations do.
//
// The portal is another program and is trusted for nothing: its answers and signals are read only when they
// have the documented D-Bus types, signals count only when the portal's own connection sent them, and a
// request it leaves unanswered gives up after a limit; the next change of the shortcuts then asks again.
//
// While a menu of the application is open, raw keys come from the application's own key events.
class PortalHotKeyService final : public QObject, public HotKeyService {
    Q_OBJECT

public:
    // The status of a registration that no portal trigger can express: Fn, or a key without a position or
    // an xkb name.
    static constexpr std::int32_t untriggerableStatus = 2;

    // How long the portal has to answer a request. The desktop may ask the user first, who takes a moment.
    static constexpr std::chrono::seconds defaultAnswerLimit{30};

    // Hears, once each, that there is no global-shortcuts portal, that the portal refused, that it left
    // out shortcuts, that it answered with data of the wrong type, and that it did not answer in time, in a
    // sentence for the user.
    using Warn = std::function<void(const std::string&)>;

    // Names keys as `layout` types them; it must outlive the service. Talks to the portal on `bus` and gives
    // it `answerLimit` for each request.
    PortalHotKeyService(const KeyboardLayout& layout, Warn warn,
                        const QDBusConnection& bus = QDBusConnection::sessionBus(),
                        std::chrono::milliseconds answerLimit = defaultAnswerLimit);
    ~PortalHotKeyService() override;
    PortalHotKeyService(const PortalHotKeyService&) = delete;
    PortalHotKeyService& operator=(const PortalHotKeyService&) = delete;

    HotKeyRegistration registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                      HotKeyId hotKeyId) override;
    void unregisterHotKey(std::uint64_t handle) override;
    bool installEventHandler(HotKeyEventHandler& handler) override;
    void setDelivery(KeyEventDelivery delivery) override;

private Q_SLOTS:
    void activated(const QDBusMessage& message);
    void deactivated(const QDBusMessage& message);

private:
    struct Registration {
        HotKeyId hotKeyId;
        QString shortcutId;
        QString trigger;
    };
    // Preferred triggers by shortcut id.
    using Shortcuts = std::map<QString, QString>;

    Shortcuts wantedShortcuts() const;
    void changeSession();
    void closeSession();
    void closeSession(const QString& path);
    void createSession();
    void sessionCreated(std::uint64_t generation, uint response, const QVariantMap& results);
    void sessionFailed(std::uint64_t generation, const QDBusError& error);
    void listShortcuts(std::uint64_t generation);
    void shortcutsListed(std::uint64_t generation, const QVariantMap& results);
    void listFailed(std::uint64_t generation, const QDBusError& error);
    void bindShortcuts(std::uint64_t generation);
    void shortcutsBound(std::uint64_t generation, uint response, const QVariantMap& results);
    void bindFailed(std::uint64_t generation, const QDBusError& error);
    PortalRequest::Target portal() const;
    bool unanswered(const QDBusError& error);
    bool answeredWrongly(const QDBusError& error);
    void warnWrongAnswer(const QString& what);
    void deliver(HotKeyEvent::Kind kind, const QDBusMessage& message);
    void warnOnce(bool& warned, const std::string& text);

    const KeyboardLayout& layout_;
    Warn warn_;
    QDBusConnection bus_;
    std::chrono::milliseconds answerLimit_;
    PortalOwner owner_;
    std::map<std::uint64_t, Registration> registrations_;
    std::uint64_t nextHandle_ = 1;
    // The shortcuts of the current session, made or still being made.
    Shortcuts sessionShortcuts_;
    // Empty until the portal has made the current session.
    QString sessionPath_;
    // Counts the sessions asked for; answers about an earlier one are out of date.
    std::uint64_t generation_ = 0;
    // A CreateSession not answered yet, and the Close calls not answered yet: the sessions share one path.
    bool creating_ = false;
    int closing_ = 0;
    // A CreateSession went unanswered, or was answered without a usable handle: the portal may hold a
    // session under our token that nobody named to us.
    bool unnamedSession_ = false;
    bool portalMissing_ = false;
    bool warnedMissing_ = false;
    bool warnedRefused_ = false;
    bool warnedLeftOut_ = false;
    bool warnedWrongAnswer_ = false;
    bool warnedUnanswered_ = false;
    // Gathers the changes of one turn of the event loop into one change of session.
    QTimer sessionChange_;
    HotKeyDelivery delivery_;
};

} // namespace driftmark
