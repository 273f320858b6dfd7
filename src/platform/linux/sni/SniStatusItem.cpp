#include "platform/linux/sni/SniStatusItem.h"

#include "platform/linux/sni/SniStatusBar.h"
#include "platform/linux/sni/StatusNotifierIcon.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QMetaObject>
#include <QTimer>
#include <algorithm>
#include <chrono>

namespace driftmark {

namespace {

const QString itemPath = QStringLiteral("/StatusNotifierItem");
const QString menuPath = QStringLiteral("/MenuBar");
const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString watcherPath = QStringLiteral("/StatusNotifierWatcher");

constexpr QDBusConnection::RegisterOptions exported = QDBusConnection::ExportAllSlots |
                                                      QDBusConnection::ExportAllSignals |
                                                      QDBusConnection::ExportAllProperties;

// QtDBus keeps connections by name, process-wide.
QString newConnectionName() {
    static unsigned long long connections = 0;
    return QStringLiteral("driftmark-status-item-%1").arg(++connections);
}

} // namespace

SniStatusItem::SniStatusItem(SniStatusBar& bar, const StatusItemNames& names)
    : bar_(bar)
    , menuExporter_([this](bool opening) { return menu(opening); })
    , object_(QString::fromStdString(names.id), QDBusObjectPath(menuPath),
              StatusNotifierItemObject::Handlers{[this] { activate(); },
                                                 [this](int x, int y) { showContextMenu(x, y); }}) {
    reconnect();
}

SniStatusItem::~SniStatusItem() {
    bar_.forget(*this);
    disconnect();
}

void SniStatusItem::setImage(const DiscIcon& icon) {
    if (image_ == icon) {
        return;
    }
    image_ = icon;
    updateIcon();
}

void SniStatusItem::setToolTip(const std::string& text) {
    object_.setToolTip(QString::fromStdString(text));
}

void SniStatusItem::setHandlers(StatusItemHandlers handlers) {
    handlers_ = std::move(handlers);
}

// The icon is sent again at the new opacity; the completion follows after `duration`, unless the item
// is gone then.
void SniStatusItem::animateAlphaValue(double alpha, double duration, std::function<void()> completion) {
    if (alpha != alpha_) {
        alpha_ = alpha;
        updateIcon();
    }
    if (completion) {
        const auto delay = std::chrono::milliseconds(static_cast<long long>(std::max(0.0, duration) * 1000));
        QTimer::singleShot(delay, Qt::PreciseTimer, &context_, std::move(completion));
    }
}

void SniStatusItem::reconnect() {
    disconnect();
    if (withdrawn_) {
        return;
    }
    connectionName_ = newConnectionName();
    QDBusConnection connection = QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName_);
    if (connection.isConnected()) {
        connection.registerObject(menuPath, &menuExporter_, exported);
        connection.registerObject(itemPath, &object_, exported);
    }
}

void SniStatusItem::withdraw() {
    withdrawn_ = true;
    disconnect();
}

void SniStatusItem::disconnect() {
    if (connectionName_.isEmpty()) {
        return;
    }
    {
        QDBusConnection connection(connectionName_);
        connection.unregisterObject(itemPath);
        connection.unregisterObject(menuPath);
    }
    QDBusConnection::disconnectFromBus(connectionName_);
    connectionName_.clear();
}

// Sent over the process's own session-bus connection, naming the item's connection: the watcher then
// takes every item of the process in the order sent, with no need to wait for each answer. The answer
// is still watched: a watcher may refuse the item, which no host then shows.
void SniStatusItem::registerWithWatcher(std::function<void(const QDBusError& error)> refused) {
    const QDBusConnection connection(connectionName_);
    if (!connection.isConnected()) {
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(watcherService, watcherPath, watcherService,
                                                       QStringLiteral("RegisterStatusNotifierItem"));
    call << connection.baseService();
    auto* answer = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), &context_);
    QObject::connect(answer, &QDBusPendingCallWatcher::finished, &context_,
                     [this, answer, name = connectionName_, refused = std::move(refused)] {
                         answer->deleteLater();
                         // An answer about a name the item has left says nothing about the one it has.
                         if (answer->isError() && name == connectionName_) {
                             refused(answer->error());
                         }
                     });
}

void SniStatusItem::updateIcon() {
    if (image_) {
        object_.setIcon(statusNotifierPixmaps(*image_, alpha_));
    }
}

// Clicks are handled once the host's call has been answered, from copies of the handlers: a click may
// end in the removal of this very item.
void SniStatusItem::activate() {
    QMetaObject::invokeMethod(
        &context_,
        [this] {
            if (const auto activated = handlers_.activated) {
                activated();
            }
        },
        Qt::QueuedConnection);
}

// For hosts that show no exported menu but ask the item to show its own at a point on the screen.
void SniStatusItem::showContextMenu(int x, int y) {
    QMetaObject::invokeMethod(
        &context_,
        [this, x, y] {
            const auto requested = handlers_.contextMenuRequested;
            if (!requested) {
                return;
            }
            const Point position{static_cast<double>(x), static_cast<double>(y)};
            if (const std::optional<Menu> menu = requested(position)) {
                bar_.popupMenu(*menu, position);
            }
        },
        Qt::QueuedConnection);
}

// Only an opening is the user's request; a layout fetched ahead takes the menu as it stands.
std::optional<Menu> SniStatusItem::menu(bool opening) {
    if (!opening) {
        const auto current = handlers_.currentMenu;
        return current ? current() : std::nullopt;
    }
    const auto requested = handlers_.contextMenuRequested;
    return requested ? requested(std::nullopt) : std::nullopt;
}

} // namespace driftmark
