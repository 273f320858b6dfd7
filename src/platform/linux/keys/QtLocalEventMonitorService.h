#pragma once

#include "platform/LocalEventMonitorService.h"

#include <QObject>
#include <map>

namespace driftmark {

// Local monitors as a filter on the Qt application's events, installed while any monitor exists. It sees
// the key presses and releases (those of modifier keys as flag changes), and the left and right mouse
// button presses and releases of the application's windows. A handler can drop an event; an event it
// returns changed goes on as it was, as Qt events cannot be rewritten.
class QtLocalEventMonitorService final : public QObject, public LocalEventMonitorService {
    Q_OBJECT

public:
    Handle addLocalMonitor(std::uint64_t mask, Handler handler) override;
    void removeMonitor(Handle handle) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Monitor {
        std::uint64_t mask = 0;
        Handler handler;
    };

    std::map<Handle, Monitor> monitors_;
    Handle nextHandle_ = 1;
};

} // namespace driftmark
