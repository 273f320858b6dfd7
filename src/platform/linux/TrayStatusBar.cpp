#include "platform/linux/TrayStatusBar.h"

#include "platform/linux/TrayStatusItem.h"
#include "platform/linux/sni/DBusValueCheck.h"
#include "platform/linux/sni/SniStatusBar.h"
#include "platform/linux/sni/StatusNotifierWatcherMonitor.h"
#include "platform/linux/tray/XEmbedStatusBar.h"
#include "platform/linux/x11/X11Context.h"
#include "platform/linux/x11/XcbReply.h"

#include <QByteArray>
#include <algorithm>
#include <chrono>

namespace driftmark {

namespace {

// Long enough for a panel to restart, short enough that a desktop left without one soon gets its icons
// back on the X11 tray.
constexpr std::chrono::seconds watcherGracePeriod{5};

const std::string noHost = "No StatusNotifierItem host is running yet; the icons will appear when one starts";

// Whether an X11 system tray runs now: the screen's _NET_SYSTEM_TRAY_Sn has an owner.
bool x11TrayRunning() {
    const X11Context& x11 = X11Context::shared();
    if (x11.connection() == nullptr) {
        return false;
    }
    const XcbReply<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        x11.connection(), xcb_get_selection_owner(x11.connection(), x11.atoms().traySelection), nullptr));
    return owner && owner->owner != XCB_WINDOW_NONE;
}

} // namespace

TrayStatusBar::TrayStatusBar(const std::function<void(const std::string&)>& warn, bool x11)
    : warn_(warn)
    , x11_(x11) {
    DBusValueCheck::setListener(warn_);
    const QByteArray chosen = qgetenv("DRIFTMARK_TRAY");
    if (const auto preference = parseTrayPreference(chosen.toStdString())) {
        preference_ = *preference;
    } else {
        warn_("DRIFTMARK_TRAY must be \"xembed\" or \"sni\", not \"" + chosen.toStdString() +
              "\"; choosing the tray by the desktop");
    }
    if (!x11_) {
        if (preference_ == TrayPreference::xembed) {
            warn_("DRIFTMARK_TRAY=xembed needs an X11 display; showing the icons through StatusNotifierItem");
        }
        preference_ = TrayPreference::statusNotifier;
    }
    watcherGrace_.setSingleShot(true);
    watcherGrace_.setInterval(watcherGracePeriod);
    QObject::connect(&watcherGrace_, &QTimer::timeout, &watcherGrace_,
                     [this] { moveTo(trayBackendFor(preference_, watcher_ && watcher_->present())); });
    if (preference_ != TrayPreference::xembed) {
        watcher_ =
            std::make_unique<StatusNotifierWatcherMonitor>([this](bool present) { watcherChanged(present); });
    }
    const bool watcherPresent = watcher_ && watcher_->present();
    backend_ = trayBackendFor(preference_, watcherPresent);
    bar(backend_);
    if (backend_ == TrayBackend::statusNotifier) {
        statusNotifier_->watcherChanged(watcherPresent);
        if (!watcherPresent) {
            warn_(noHost);
        }
    }
}

TrayStatusBar::~TrayStatusBar() {
    DBusValueCheck::setListener({});
}

std::unique_ptr<StatusItem> TrayStatusBar::statusItem(const StatusItemNames& names) {
    auto item = std::make_unique<TrayStatusItem>(*this, names);
    item->showOn(bar(backend_).statusItem(names));
    items_.push_back(item.get());
    return item;
}

void TrayStatusBar::removeStatusItem(StatusItem& item) {
    auto* trayItem = dynamic_cast<TrayStatusItem*>(&item);
    if (trayItem == nullptr) {
        return;
    }
    if (const std::unique_ptr<StatusItem> shown = trayItem->takeShown()) {
        bar(backend_).removeStatusItem(*shown);
    }
    forget(*trayItem);
}

void TrayStatusBar::arrange(const std::vector<StatusItem*>& items) {
    arranged_.clear();
    for (StatusItem* item : items) {
        if (auto* trayItem = dynamic_cast<TrayStatusItem*>(item)) {
            arranged_.push_back(trayItem);
        }
    }
    arrangeShown();
}

void TrayStatusBar::forget(TrayStatusItem& item) {
    std::erase(items_, &item);
    std::erase(arranged_, &item);
}

StatusBar& TrayStatusBar::bar(TrayBackend backend) {
    if (backend == TrayBackend::statusNotifier) {
        if (!statusNotifier_) {
            auto refused = [this](const std::string& reason) { watcherRefused(reason); };
            statusNotifier_ = x11_ ? std::make_unique<SniStatusBar>(refused)
                                   : std::make_unique<SniStatusBar>(refused, warn_);
        }
        return *statusNotifier_;
    }
    if (!xembed_) {
        xembed_ = std::make_unique<XEmbedStatusBar>(warn_);
    }
    return *xembed_;
}

void TrayStatusBar::watcherChanged(bool present) {
    if (preference_ == TrayPreference::automatic && backend_ == TrayBackend::statusNotifier && !present) {
        watcherGrace_.start();
    } else {
        watcherGrace_.stop();
    }
    if (const TrayBackend wanted = trayBackendFor(preference_, present); present && wanted != backend_) {
        moveTo(wanted);
    } else if (statusNotifier_) {
        statusNotifier_->watcherChanged(present);
    }
}

// Where the user left the choice to Driftmark, the items go to the X11 tray, which may start later; the
// watcher is asked again only when another one takes its place.
void TrayStatusBar::watcherRefused(const std::string& reason) {
    const std::string refusal = "The StatusNotifierItem watcher refused Driftmark's icons (" + reason + ")";
    if (preference_ != TrayPreference::automatic) {
        warn_(refusal + "; the icons cannot be shown until a StatusNotifierItem host that takes them starts" +
              (x11_ ? ", or with --tray xembed in an X11 system tray"
                    : " (such as waybar's tray or KDE Plasma)"));
        return;
    }
    if (x11TrayRunning()) {
        warn_(refusal + "; showing them in the X11 system tray instead");
    } else {
        warn_(refusal + ", and no X11 system tray is running: the icons cannot be shown until a system tray "
                        "or a StatusNotifierItem host that takes them starts");
        if (!xembed_) {
            // Its own word on the missing tray would only repeat this one.
            xembed_ = std::make_unique<XEmbedStatusBar>([](const std::string&) {});
        }
    }
    moveTo(TrayBackend::xembed);
}

// Every item leaves the old tray before any shows on the new one; they arrive in the entries' order.
void TrayStatusBar::moveTo(TrayBackend backend) {
    if (backend == backend_) {
        return;
    }
    StatusBar& from = bar(backend_);
    for (TrayStatusItem* item : items_) {
        if (const std::unique_ptr<StatusItem> shown = item->takeShown()) {
            from.removeStatusItem(*shown);
        }
    }
    backend_ = backend;
    StatusBar& to = bar(backend_);
    if (backend_ == TrayBackend::statusNotifier) {
        statusNotifier_->watcherChanged(watcher_ && watcher_->present());
    }
    std::vector<TrayStatusItem*> order = arranged_;
    for (TrayStatusItem* item : items_) {
        if (std::find(order.begin(), order.end(), item) == order.end()) {
            order.push_back(item);
        }
    }
    for (TrayStatusItem* item : order) {
        item->showOn(to.statusItem(item->names()));
    }
    arrangeShown();
}

void TrayStatusBar::arrangeShown() {
    std::vector<StatusItem*> shown;
    for (TrayStatusItem* item : arranged_) {
        if (StatusItem* backendItem = item->shown()) {
            shown.push_back(backendItem);
        }
    }
    bar(backend_).arrange(shown);
}

} // namespace driftmark
