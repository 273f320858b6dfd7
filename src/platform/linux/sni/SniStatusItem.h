#pragma once

#include "platform/StatusBar.h"
#include "platform/linux/sni/DBusMenuExporter.h"
#include "platform/linux/sni/StatusNotifierItemObject.h"

#include <QDBusError>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

namespace driftmark {

class SniStatusBar;

// A status item shown by a StatusNotifierItem host. It has a connection to the session bus of its own,
// so that hosts tell the items apart by their bus names, and exports its item and its menu there.
class SniStatusItem final : public StatusItem {
public:
    // On the bus at once; the bar registers it with the watcher.
    SniStatusItem(SniStatusBar& bar, const StatusItemNames& names);
    ~SniStatusItem() override;
    SniStatusItem(const SniStatusItem&) = delete;
    SniStatusItem& operator=(const SniStatusItem&) = delete;

    void setImage(const DiscIcon& icon) override;
    void setToolTip(const std::string& text) override;
    void setHandlers(StatusItemHandlers handlers) override;
    void animateAlphaValue(double alpha, double duration, std::function<void()> completion) override;

    // Leaves the bus under its old name, if any, and comes back under a new one: a host that knew the
    // item drops it, and sees it anew when it is registered again.
    void reconnect();
    // Leaves the bus for good; the host drops the item.
    void withdraw();
    // Asks the watcher to pass the item on to the hosts. `refused` hears the watcher's error answer, unless
    // the item is gone or has come back under another name by then.
    void registerWithWatcher(std::function<void(const QDBusError& error)> refused);

private:
    void disconnect();
    void updateIcon();
    void activate();
    void showContextMenu(int x, int y);
    std::optional<Menu> menu(bool opening);

    SniStatusBar& bar_;
    QObject context_; // of deferred clicks, animation completions and pending registrations
    DBusMenuExporter menuExporter_;
    StatusNotifierItemObject object_;
    QString connectionName_;
    std::optional<DiscIcon> image_;
    double alpha_ = 1;
    StatusItemHandlers handlers_;
    bool withdrawn_ = false;
};

} // namespace driftmark
