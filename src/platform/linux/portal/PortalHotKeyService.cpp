#include "platform/linux/portal/PortalHotKeyService.h"

#include "platform/linux/portal/PortalHandlePath.h"
#include "platform/linux/portal/PortalResults.h"
#include "platform/linux/portal/PortalShortcut.h"
#include "platform/linux/portal/PortalShortcutTrigger.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QSet>
#include <QStringList>
#include <vector>

namespace driftmark {

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString sessionInterface = QStringLiteral("org.freedesktop.portal.Session");
// The same for every session: Plasma 5.27 keeps a session's shortcuts in a kglobalaccel component named
// after this token, and that component keeps their keys after the session ends, so a session under another
// token would find every earlier key taken and get none.
const QString sessionToken = QStringLiteral("driftmark");
const QString signalSignature = QStringLiteral("osta{sv}");
const QString shortcutsSignature = QStringLiteral("a(sa{sv})");

// Named after the combination (virtual key code and hot-key modifier bits), not after the hot key that
// asks for it: the hot keys' numbers change from run to run and with every new recording, while Plasma 5.27
// keeps a shortcut's key after it is gone, so a combination asked for under a new name would find its key
// held by the old one. Under the combination's own name it always gets it back.
QString shortcutIdOf(std::uint32_t keyCode, std::uint32_t modifiers) {
    return QStringLiteral("driftmark-%1-%2").arg(keyCode).arg(modifiers);
}

PortalShortcutList portalShortcuts(const std::map<QString, QString>& shortcuts) {
    PortalShortcutList list;
    for (const auto& [id, trigger] : shortcuts) {
        // The service knows combinations, not the entries they stand for.
        list.append({id,
                     {{QStringLiteral("description"), QStringLiteral("Driftmark: %1").arg(trigger)},
                      {QStringLiteral("preferred_trigger"), trigger}}});
    }
    return list;
}

bool meansNoPortal(const QDBusError& error) {
    switch (error.type()) {
    case QDBusError::ServiceUnknown:
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownMethod:
    case QDBusError::UnknownObject:
    case QDBusError::Disconnected:
        return true;
    default:
        return false;
    }
}

} // namespace

PortalHotKeyService::PortalHotKeyService(const KeyboardLayout& layout, Warn warn, const QDBusConnection& bus,
                                         std::chrono::milliseconds answerLimit)
    : layout_(layout)
    , warn_(std::move(warn))
    , bus_(bus)
    , answerLimit_(answerLimit)
    , owner_(bus) {
    PortalShortcut::registerDBusTypes();
    sessionChange_.setSingleShot(true);
    sessionChange_.setInterval(0);
    connect(&sessionChange_, &QTimer::timeout, this, &PortalHotKeyService::changeSession);
    // Without a sender, for the reason PortalRequest gives; each signal's sender is checked against the
    // portal's owner, and the session handle tells our shortcuts apart.
    bus_.connect(QString(), portalPath, shortcutsInterface, QStringLiteral("Activated"), this,
                 SLOT(activated(QDBusMessage)));
    bus_.connect(QString(), portalPath, shortcutsInterface, QStringLiteral("Deactivated"), this,
                 SLOT(deactivated(QDBusMessage)));
}

PortalHotKeyService::~PortalHotKeyService() {
    closeSession();
    bus_.disconnect(QString(), portalPath, shortcutsInterface, QStringLiteral("Activated"), this,
                    SLOT(activated(QDBusMessage)));
    bus_.disconnect(QString(), portalPath, shortcutsInterface, QStringLiteral("Deactivated"), this,
                    SLOT(deactivated(QDBusMessage)));
}

HotKeyRegistration PortalHotKeyService::registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                                       HotKeyId hotKeyId) {
    const auto trigger = portalShortcutTrigger(keyCode, modifiers, layout_);
    if (!trigger) {
        return {untriggerableStatus, std::nullopt};
    }
    const std::uint64_t handle = nextHandle_++;
    registrations_.emplace(
        handle, Registration{hotKeyId, shortcutIdOf(keyCode, modifiers), QString::fromStdString(*trigger)});
    sessionChange_.start();
    return {0, handle};
}

void PortalHotKeyService::unregisterHotKey(std::uint64_t handle) {
    if (registrations_.erase(handle) != 0) {
        sessionChange_.start();
    }
}

bool PortalHotKeyService::installEventHandler(HotKeyEventHandler& handler) {
    return delivery_.install(handler);
}

void PortalHotKeyService::setDelivery(KeyEventDelivery delivery) {
    delivery_.setDelivery(delivery);
}

PortalHotKeyService::Shortcuts PortalHotKeyService::wantedShortcuts() const {
    Shortcuts shortcuts;
    // Hot keys registered with one combination share its shortcut, and a press of it reports each.
    for (const auto& [handle, registration] : registrations_) {
        shortcuts.emplace(registration.shortcutId, registration.trigger);
    }
    return shortcuts;
}

void PortalHotKeyService::changeSession() {
    if (portalMissing_) {
        return;
    }
    Shortcuts wanted = wantedShortcuts();
    if (wanted == sessionShortcuts_) {
        return;
    }
    closeSession();
    sessionShortcuts_ = std::move(wanted);
    createSession();
}

void PortalHotKeyService::closeSession() {
    ++generation_;
    if (sessionPath_.isEmpty()) {
        return;
    }
    closeSession(sessionPath_);
    sessionPath_.clear();
}

void PortalHotKeyService::closeSession(const QString& path) {
    // Every session has the same path: the next one is asked for once the portal has let go of this one.
    // Nothing of the reply is read: it ends the wait, whatever it holds, as the bus's timeout does.
    const QDBusMessage close =
        QDBusMessage::createMethodCall(portalService, path, sessionInterface, QStringLiteral("Close"));
    auto* watcher =
        new QDBusPendingCallWatcher(bus_.asyncCall(close, static_cast<int>(answerLimit_.count())), this);
    ++closing_;
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher] {
        watcher->deleteLater();
        --closing_;
        createSession();
    });
}

void PortalHotKeyService::createSession() {
    // One session at a time: the one being made is closed when it comes, and then this is asked again.
    if (creating_ || closing_ != 0 || sessionShortcuts_.empty() || !sessionPath_.isEmpty()) {
        return;
    }
    if (unnamedSession_) {
        // A session the portal made late, or did not name, would stand in the way of one under the same
        // token: it is closed at the path the portal gives it, and this is asked again.
        unnamedSession_ = false;
        closeSession(portalHandlePath(bus_, QStringLiteral("session"), sessionToken));
        return;
    }
    creating_ = true;
    const std::uint64_t generation = generation_;
    // Plasma 5.27 registers the shortcuts given here and no others; later portals ignore the option.
    const QVariantMap options{
        {QStringLiteral("session_handle_token"), sessionToken},
        {QStringLiteral("shortcuts"), QVariant::fromValue(portalShortcuts(sessionShortcuts_))},
    };
    PortalRequest::send(
        portal(), shortcutsInterface, QStringLiteral("CreateSession"), {}, options, this,
        [this, generation](uint response, const QVariantMap& results) {
            sessionCreated(generation, response, results);
        },
        [this, generation](const QDBusError& error) { sessionFailed(generation, error); });
}

void PortalHotKeyService::sessionCreated(std::uint64_t generation, uint response,
                                         const QVariantMap& results) {
    creating_ = false;
    QString session;
    bool named = true;
    if (response == 0) {
        QString found;
        const std::optional<QString> handle = sessionHandleIn(results, found);
        named = handle.has_value();
        if (!named) {
            unnamedSession_ = true;
            warnWrongAnswer(QStringLiteral("the session handle came as (%1) instead of (o)").arg(found));
        }
        session = handle.value_or(QString());
    }
    if (generation != generation_) {
        // The set changed while the portal made this session: it is not wanted any more.
        if (!session.isEmpty()) {
            closeSession(session);
        } else {
            createSession();
        }
        return;
    }
    if (!named) {
        // Taken as no session: the next change of the shortcuts asks again.
        sessionShortcuts_.clear();
        return;
    }
    if (response != 0 || session.isEmpty()) {
        warnOnce(warnedRefused_,
                 "The desktop's global-shortcuts portal refused Driftmark a session (answer " +
                     std::to_string(response) +
                     "), as a portal without a global-shortcuts backend for this desktop does: Driftmark's "
                     "shortcuts work only where the compositor binds `driftmark-menubar --paste N` (see the "
                     "README)");
        return;
    }
    sessionPath_ = session;
    listShortcuts(generation);
}

void PortalHotKeyService::sessionFailed(std::uint64_t generation, const QDBusError& error) {
    creating_ = false;
    if (meansNoPortal(error)) {
        // Registrations stay as they are; without a portal there is nobody to give them to.
        portalMissing_ = true;
        warnOnce(warnedMissing_,
                 "The desktop offers no global-shortcuts portal: Driftmark's shortcuts work only where the "
                 "compositor binds `driftmark-menubar --paste N` (see the README)");
        return;
    }
    const bool unansweredOrWrong = unanswered(error) || answeredWrongly(error);
    // The portal may yet make the session, or has made one without saying so.
    unnamedSession_ = unnamedSession_ || unansweredOrWrong;
    if (generation != generation_) {
        createSession();
        return;
    }
    // Perhaps a portal slow to start: the next change of the shortcuts asks again.
    sessionShortcuts_.clear();
    if (!unansweredOrWrong) {
        warnOnce(warnedRefused_,
                 "The desktop's global-shortcuts portal did not answer: " + error.message().toStdString());
    }
}

void PortalHotKeyService::listShortcuts(std::uint64_t generation) {
    PortalRequest::send(
        portal(), shortcutsInterface, QStringLiteral("ListShortcuts"),
        {QVariant::fromValue(QDBusObjectPath(sessionPath_))}, {}, this,
        [this, generation](uint response, const QVariantMap& results) {
            // A portal that cannot list is asked to bind, as if it had listed nothing.
            shortcutsListed(generation, response == 0 ? results : QVariantMap());
        },
        [this, generation](const QDBusError& error) { listFailed(generation, error); });
}

void PortalHotKeyService::shortcutsListed(std::uint64_t generation, const QVariantMap& results) {
    if (generation != generation_) {
        return;
    }
    QString found;
    const std::optional<QSet<QString>> listed = shortcutIdsIn(results, found);
    if (!listed) {
        warnWrongAnswer(QStringLiteral("ListShortcuts gave shortcuts of type (%1) instead of (%2)")
                            .arg(found, shortcutsSignature));
    }
    // A list that cannot be read lists nothing.
    for (const auto& [id, trigger] : sessionShortcuts_) {
        if (!listed || !listed->contains(id)) {
            bindShortcuts(generation);
            return;
        }
    }
}

void PortalHotKeyService::listFailed(std::uint64_t generation, const QDBusError& error) {
    // Said also about a session no longer wanted: the portal hangs or errs all the same.
    const bool hangs = unanswered(error);
    answeredWrongly(error);
    if (generation != generation_) {
        return;
    }
    if (hangs) {
        // A portal that hangs would not bind either: the next change of the shortcuts makes a new session.
        sessionShortcuts_.clear();
        return;
    }
    shortcutsListed(generation, {});
}

void PortalHotKeyService::bindShortcuts(std::uint64_t generation) {
    // No parent window: Driftmark binds its shortcuts at start-up, from no window of its own.
    PortalRequest::send(
        portal(), shortcutsInterface, QStringLiteral("BindShortcuts"),
        {QVariant::fromValue(QDBusObjectPath(sessionPath_)),
         QVariant::fromValue(portalShortcuts(sessionShortcuts_)), QString()},
        {}, this,
        [this, generation](uint response, const QVariantMap& results) {
            shortcutsBound(generation, response, results);
        },
        [this, generation](const QDBusError& error) { bindFailed(generation, error); });
}

void PortalHotKeyService::shortcutsBound(std::uint64_t generation, uint response,
                                         const QVariantMap& results) {
    if (generation != generation_) {
        return;
    }
    if (response != 0) {
        warnOnce(warnedRefused_,
                 std::string("The desktop did not bind Driftmark's shortcuts (") +
                     (response == 1 ? "cancelled" : "refused, answer " + std::to_string(response)) +
                     "): they do not work");
        return;
    }
    QString found;
    const std::optional<QSet<QString>> bound = shortcutIdsIn(results, found);
    if (!bound) {
        warnWrongAnswer(QStringLiteral("BindShortcuts gave shortcuts of type (%1) instead of (%2)")
                            .arg(found, shortcutsSignature));
        return;
    }
    QStringList leftOut;
    for (const auto& [id, trigger] : sessionShortcuts_) {
        if (!bound->contains(id)) {
            leftOut.append(id + QStringLiteral(" (") + trigger + QLatin1Char(')'));
        }
    }
    if (!leftOut.isEmpty()) {
        warnOnce(warnedLeftOut_, "The desktop did not bind these shortcuts of Driftmark: " +
                                     leftOut.join(QStringLiteral(", ")).toStdString());
    }
}

void PortalHotKeyService::bindFailed(std::uint64_t generation, const QDBusError& error) {
    if (unanswered(error)) {
        if (generation == generation_) {
            sessionShortcuts_.clear();
        }
        return;
    }
    if (!answeredWrongly(error)) {
        warnOnce(warnedRefused_,
                 "The desktop's global-shortcuts portal did not bind Driftmark's shortcuts: " +
                     error.message().toStdString());
    }
}

PortalRequest::Target PortalHotKeyService::portal() const {
    return {bus_, owner_, answerLimit_};
}

bool PortalHotKeyService::unanswered(const QDBusError& error) {
    if (error.type() != QDBusError::TimedOut) {
        return false;
    }
    warnOnce(warnedUnanswered_, "The desktop's global-shortcuts portal hangs (" +
                                    error.message().toStdString() +
                                    "): Driftmark's shortcuts do not work until it answers; Driftmark asks "
                                    "again when its shortcuts change");
    return true;
}

bool PortalHotKeyService::answeredWrongly(const QDBusError& error) {
    if (error.type() != QDBusError::InvalidSignature) {
        return false;
    }
    warnWrongAnswer(error.message());
    return true;
}

void PortalHotKeyService::warnWrongAnswer(const QString& what) {
    warnOnce(warnedWrongAnswer_, "The desktop's global-shortcuts portal sent data of the wrong type (" +
                                     what.toStdString() +
                                     "), which Driftmark ignores: its shortcuts are taken as not bound");
}

void PortalHotKeyService::activated(const QDBusMessage& message) {
    deliver(HotKeyEvent::Kind::pressed, message);
}

void PortalHotKeyService::deactivated(const QDBusMessage& message) {
    deliver(HotKeyEvent::Kind::released, message);
}

void PortalHotKeyService::deliver(HotKeyEvent::Kind kind, const QDBusMessage& message) {
    // Any connection may send a signal with the portal's path and interface; only the portal's count.
    if (!owner_.sent(message)) {
        return;
    }
    // (o session_handle, s shortcut_id, t timestamp, a{sv} options); only the first two matter here.
    if (message.signature() != signalSignature) {
        warnWrongAnswer(QStringLiteral("%1 came as (%2) instead of (%3)")
                            .arg(message.member(), message.signature(), signalSignature));
        return;
    }
    const QVariantList arguments = message.arguments();
    if (sessionPath_.isEmpty() || arguments[0].value<QDBusObjectPath>().path() != sessionPath_) {
        return;
    }
    const QString shortcutId = arguments[1].toString();
    // Taken before the first call: a handler may register or unregister hot keys.
    std::vector<HotKeyId> hotKeyIds;
    for (const auto& [handle, registration] : registrations_) {
        if (registration.shortcutId == shortcutId) {
            hotKeyIds.push_back(registration.hotKeyId);
        }
    }
    delivery_.deliver(kind, hotKeyIds);
}

void PortalHotKeyService::warnOnce(bool& warned, const std::string& text) {
    if (warned) {
        return;
    }
    warned = true;
    if (warn_) {
        warn_(text);
    }
}

} // namespace driftmark
