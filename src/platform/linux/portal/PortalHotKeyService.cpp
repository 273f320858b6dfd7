#include "platform/linux/portal/PortalHotKeyService.h"

#include "platform/linux/portal/PortalRequest.h"
#include "platform/linux/portal/PortalShortcut.h"
#include "platform/linux/portal/PortalShortcutTrigger.h"

#include <QDBusArgument>
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

// The ids of the shortcuts in a response's results.
QSet<QString> shortcutIdsIn(const QVariantMap& results) {
    const QVariant value = results.value(QStringLiteral("shortcuts"));
    PortalShortcutList shortcuts;
    if (value.canConvert<QDBusArgument>()) {
        shortcuts = qdbus_cast<PortalShortcutList>(value.value<QDBusArgument>());
    } else {
        shortcuts = value.value<PortalShortcutList>();
    }
    QSet<QString> ids;
    for (const PortalShortcut& shortcut : shortcuts) {
        ids.insert(shortcut.id);
    }
    return ids;
}

// A portal writes session handles as strings or as object paths.
QString sessionHandleIn(const QVariantMap& results) {
    const QVariant value = results.value(QStringLiteral("session_handle"));
    if (value.userType() == qMetaTypeId<QDBusObjectPath>()) {
        return value.value<QDBusObjectPath>().path();
    }
    return value.toString();
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

PortalHotKeyService::PortalHotKeyService(const KeyboardLayout& layout, Warn warn, const QDBusConnection& bus)
    : layout_(layout)
    , warn_(std::move(warn))
    , bus_(bus) {
    PortalShortcut::registerDBusTypes();
    sessionChange_.setSingleShot(true);
    sessionChange_.setInterval(0);
    connect(&sessionChange_, &QTimer::timeout, this, &PortalHotKeyService::changeSession);
    // Without a sender, for the reason PortalRequest gives; the session handle tells our shortcuts apart.
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
    auto* watcher =
        new QDBusPendingCallWatcher(bus_.asyncCall(QDBusMessage::createMethodCall(
                                        portalService, path, sessionInterface, QStringLiteral("Close"))),
                                    this);
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
    creating_ = true;
    const std::uint64_t generation = generation_;
    // Plasma 5.27 registers the shortcuts given here and no others; later portals ignore the option.
    const QVariantMap options{
        {QStringLiteral("session_handle_token"), sessionToken},
        {QStringLiteral("shortcuts"), QVariant::fromValue(portalShortcuts(sessionShortcuts_))},
    };
    PortalRequest::send(
        bus_, shortcutsInterface, QStringLiteral("CreateSession"), {}, options, this,
        [this, generation](uint response, const QVariantMap& results) {
            sessionCreated(generation, response, results);
        },
        [this, generation](const QDBusError& error) { portalFailed(generation, error); });
}

void PortalHotKeyService::sessionCreated(std::uint64_t generation, uint response,
                                         const QVariantMap& results) {
    creating_ = false;
    const QString session = sessionHandleIn(results);
    if (generation != generation_) {
        // The set changed while the portal made this session: it is not wanted any more.
        if (response == 0 && !session.isEmpty()) {
            closeSession(session);
        } else {
            createSession();
        }
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

void PortalHotKeyService::listShortcuts(std::uint64_t generation) {
    PortalRequest::send(
        bus_, shortcutsInterface, QStringLiteral("ListShortcuts"),
        {QVariant::fromValue(QDBusObjectPath(sessionPath_))}, {}, this,
        [this, generation](uint response, const QVariantMap& results) {
            // A portal that cannot list is asked to bind, as if it had listed nothing.
            shortcutsListed(generation, response == 0 ? results : QVariantMap());
        },
        [this, generation](const QDBusError&) { shortcutsListed(generation, {}); });
}

void PortalHotKeyService::shortcutsListed(std::uint64_t generation, const QVariantMap& results) {
    if (generation != generation_) {
        return;
    }
    const QSet<QString> listed = shortcutIdsIn(results);
    for (const auto& [id, trigger] : sessionShortcuts_) {
        if (!listed.contains(id)) {
            bindShortcuts(generation);
            return;
        }
    }
}

void PortalHotKeyService::bindShortcuts(std::uint64_t generation) {
    // No parent window: Driftmark binds its shortcuts at start-up, from no window of its own.
    PortalRequest::send(
        bus_, shortcutsInterface, QStringLiteral("BindShortcuts"),
        {QVariant::fromValue(QDBusObjectPath(sessionPath_)),
         QVariant::fromValue(portalShortcuts(sessionShortcuts_)), QString()},
        {}, this,
        [this, generation](uint response, const QVariantMap& results) {
            shortcutsBound(generation, response, results);
        },
        [this](const QDBusError& error) {
            warnOnce(warnedRefused_,
                     "The desktop's global-shortcuts portal did not bind Driftmark's shortcuts: " +
                         error.message().toStdString());
        });
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
    const QSet<QString> bound = shortcutIdsIn(results);
    QStringList leftOut;
    for (const auto& [id, trigger] : sessionShortcuts_) {
        if (!bound.contains(id)) {
            leftOut.append(id + QStringLiteral(" (") + trigger + QLatin1Char(')'));
        }
    }
    if (!leftOut.isEmpty()) {
        warnOnce(warnedLeftOut_, "The desktop did not bind these shortcuts of Driftmark: " +
                                     leftOut.join(QStringLiteral(", ")).toStdString());
    }
}

void PortalHotKeyService::portalFailed(std::uint64_t generation, const QDBusError& error) {
    creating_ = false;
    if (meansNoPortal(error)) {
        // Registrations stay as they are; without a portal there is nobody to give them to.
        portalMissing_ = true;
        warnOnce(warnedMissing_,
                 "The desktop offers no global-shortcuts portal: Driftmark's shortcuts work only where the "
                 "compositor binds `driftmark-menubar --paste N` (see the README)");
        return;
    }
    if (generation != generation_) {
        createSession();
        return;
    }
    // Perhaps a portal slow to start: the next change of the shortcuts asks again.
    sessionShortcuts_.clear();
    warnOnce(warnedRefused_,
             "The desktop's global-shortcuts portal did not answer: " + error.message().toStdString());
}

void PortalHotKeyService::activated(const QDBusMessage& message) {
    deliver(HotKeyEvent::Kind::pressed, message);
}

void PortalHotKeyService::deactivated(const QDBusMessage& message) {
    deliver(HotKeyEvent::Kind::released, message);
}

void PortalHotKeyService::deliver(HotKeyEvent::Kind kind, const QDBusMessage& message) {
    // (o session_handle, s shortcut_id, t timestamp, a{sv} options); only the first two matter here.
    const QVariantList arguments = message.arguments();
    if (arguments.size() < 2 || sessionPath_.isEmpty() ||
        arguments[0].value<QDBusObjectPath>().path() != sessionPath_) {
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
