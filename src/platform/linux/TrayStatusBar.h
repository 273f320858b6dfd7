#pragma once

#include "platform/StatusBar.h"
#include "platform/linux/TrayBackendChoice.h"

#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace driftmark {

class SniStatusBar;
class StatusNotifierWatcherMonitor;
class TrayStatusItem;
class XEmbedStatusBar;

// The status bar on whichever tray the desktop has: StatusNotifierItem hosts while a watcher runs on
// the session bus, the X11 system tray (XEmbed) otherwise. When a watcher starts, every item moves to
// it. When the watcher goes, the items wait a few seconds for a new one, as a restarting panel brings
// one; only if none comes do they move to the X11 tray. A watcher that refuses the items sends them to
// the X11 tray as well, until a new watcher comes. DRIFTMARK_TRAY=xembed or =sni fixes the choice.
// On Wayland there is no X11 tray: the items always wait for a StatusNotifierItem host.
class TrayStatusBar final : public StatusBar {
public:
    // Needs a QApplication, which must outlive every status item; `x11` when it runs on the xcb platform.
    // `warn` hears, once each, that the tray chosen has no host yet, that DRIFTMARK_TRAY names no tray or
    // one this display cannot have, and that a host asks for a menu Wayland cannot show; and, once for
    // each watcher that does so, that the watcher refused the items, and where they go instead; and, once
    // for each kind, of a value another program sent over D-Bus with the wrong type.
    TrayStatusBar(const std::function<void(const std::string&)>& warn, bool x11);
    ~TrayStatusBar() override;
    TrayStatusBar(const TrayStatusBar&) = delete;
    TrayStatusBar& operator=(const TrayStatusBar&) = delete;

    std::unique_ptr<StatusItem> statusItem(const StatusItemNames& names) override;
    void removeStatusItem(StatusItem& item) override;
    void arrange(const std::vector<StatusItem*>& items) override;

    // Called by the items.
    void forget(TrayStatusItem& item);

private:
    StatusBar& bar(TrayBackend backend);
    void watcherChanged(bool present);
    void watcherRefused(const std::string& reason);
    void moveTo(TrayBackend backend);
    void arrangeShown();

    std::function<void(const std::string&)> warn_;
    TrayPreference preference_ = TrayPreference::automatic;
    bool x11_ = true;
    TrayBackend backend_ = TrayBackend::xembed;
    // Each made on first use, and kept: the X11 tray says only once that none runs.
    std::unique_ptr<XEmbedStatusBar> xembed_;
    std::unique_ptr<SniStatusBar> statusNotifier_;
    std::vector<TrayStatusItem*> items_; // in creation order
    std::vector<TrayStatusItem*> arranged_;
    QTimer watcherGrace_;
    std::unique_ptr<StatusNotifierWatcherMonitor> watcher_;
};

} // namespace driftmark
