#pragma once

#include "platform/StatusBar.h"
#include "platform/linux/tray/ContextMenuPresenter.h"

#include <QObject>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QDBusError;

namespace driftmark {

class SniStatusItem;

// The StatusNotifierItem hosts as the status bar. Items are registered with the watcher in the entries'
// order, so that hosts that add items as they come show them in that order;
// a new order registers them all again, and so does a new watcher. A watcher that refuses an item gets
// no more of them: only a new watcher is asked again.
class SniStatusBar final : public StatusBar {
public:
    // `refused` hears, once for each watcher that refuses the items, its reason, after the answer's call
    // has returned (it may remove every item). `cannotDrawMenus`, when given, is what a host that asks
    // the items to draw their menus themselves is told instead, once: on Wayland a program without a
    // window cannot place a menu.
    explicit SniStatusBar(std::function<void(const std::string& reason)> refused,
                          std::function<void(const std::string&)> cannotDrawMenus = {});
    ~SniStatusBar() override;
    SniStatusBar(const SniStatusBar&) = delete;
    SniStatusBar& operator=(const SniStatusBar&) = delete;

    std::unique_ptr<StatusItem> statusItem(const StatusItemNames& names) override;
    void removeStatusItem(StatusItem& item) override;
    void arrange(const std::vector<StatusItem*>& items) override;

    // A watcher came, went or changed hands; a new one knows none of the items.
    void watcherChanged(bool present);

    // Called by the items.
    void forget(SniStatusItem& item);
    // Pops `menu` up at `position` on the screen, where this desktop lets the items draw menus.
    void popupMenu(const Menu& menu, Point position);

private:
    void registerWithWatcher(const std::vector<SniStatusItem*>& items);
    void refusedBy(unsigned watcher, const QDBusError& error);

    std::vector<SniStatusItem*> arranged_;
    // Registered with the current watcher, in registration order.
    std::vector<SniStatusItem*> registered_;
    bool watcherPresent_ = false;
    // Counts the watchers seen, so that an answer from an earlier one is told apart.
    unsigned watcher_ = 0;
    bool refused_ = false;
    std::function<void(const std::string&)> refusedBy_;
    ContextMenuPresenter menus_;
    std::function<void(const std::string&)> cannotDrawMenus_;
    QObject context_; // of reports of refusals not yet made
};

} // namespace driftmark
