#include "platform/linux/sni/StatusNotifierWatcherMonitor.h"

#include "platform/linux/dbus/InstanceEnvironment.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

namespace driftmark {

namespace {

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");

} // namespace

StatusNotifierWatcherMonitor::StatusNotifierWatcherMonitor(std::function<void(bool present)> changed)
    : changed_(std::move(changed)) {
    // Without a bus configured libdbus would start one of its own through X11, which would outlive us.
    if (!sessionBusConfigured(qgetenv("DBUS_SESSION_BUS_ADDRESS").constData())) {
        return;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        return;
    }
    watcher_.setConnection(bus);
    watcher_.setWatchMode(QDBusServiceWatcher::WatchForOwnerChange);
    watcher_.addWatchedService(watcherService);
    QObject::connect(&watcher_, &QDBusServiceWatcher::serviceOwnerChanged, &watcher_,
                     [this](const QString&, const QString&, const QString& newOwner) {
                         present_ = !newOwner.isEmpty();
                         changed_(present_);
                     });
    present_ = bus.interface()->isServiceRegistered(watcherService);
}

StatusNotifierWatcherMonitor::~StatusNotifierWatcherMonitor() = default;

} // namespace driftmark
