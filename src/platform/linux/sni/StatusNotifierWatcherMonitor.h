#pragma once

#include <QDBusServiceWatcher>
#include <functional>

namespace driftmark {

// Follows who runs org.kde.StatusNotifierWatcher on the session bus, the service through which
// StatusNotifierItem hosts (the panels) learn of items.
class StatusNotifierWatcherMonitor {
public:
    // `changed` hears every change of hands, with whether a watcher runs afterwards. Without a session
    // bus there is never a watcher.
    explicit StatusNotifierWatcherMonitor(std::function<void(bool present)> changed);
    ~StatusNotifierWatcherMonitor();
    StatusNotifierWatcherMonitor(const StatusNotifierWatcherMonitor&) = delete;
    StatusNotifierWatcherMonitor& operator=(const StatusNotifierWatcherMonitor&) = delete;

    bool present() const { return present_; }

private:
    QDBusServiceWatcher watcher_;
    std::function<void(bool present)> changed_;
    bool present_ = false;
};

} // namespace driftmark
