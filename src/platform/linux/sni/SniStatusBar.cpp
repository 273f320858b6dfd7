#include "platform/linux/sni/SniStatusBar.h"

#include "platform/OutsideText.h"
#include "platform/linux/sni/RegistrationPlan.h"
#include "platform/linux/sni/SniStatusItem.h"

#include <QDBusError>
#include <QMetaObject>
#include <algorithm>
#include <utility>

namespace driftmark {

SniStatusBar::SniStatusBar(std::function<void(const std::string& reason)> refused,
                           std::function<void(const std::string&)> cannotDrawMenus)
    : refusedBy_(std::move(refused))
    , cannotDrawMenus_(std::move(cannotDrawMenus)) {}

SniStatusBar::~SniStatusBar() = default;

std::unique_ptr<StatusItem> SniStatusBar::statusItem(const StatusItemNames& names) {
    return std::make_unique<SniStatusItem>(*this, names);
}

void SniStatusBar::removeStatusItem(StatusItem& item) {
    if (auto* statusItem = dynamic_cast<SniStatusItem*>(&item)) {
        forget(*statusItem);
        statusItem->withdraw();
    }
}

void SniStatusBar::arrange(const std::vector<StatusItem*>& items) {
    arranged_.clear();
    for (StatusItem* item : items) {
        if (auto* statusItem = dynamic_cast<SniStatusItem*>(item)) {
            arranged_.push_back(statusItem);
        }
    }
    if (!watcherPresent_ || refused_) {
        return;
    }
    RegistrationPlan<SniStatusItem*> plan = planRegistrations(registered_, arranged_);
    if (plan.reregisterAll) {
        registered_.clear();
        for (SniStatusItem* item : arranged_) {
            item->reconnect();
        }
    }
    registerWithWatcher(plan.toRegister);
}

void SniStatusBar::watcherChanged(bool present) {
    watcherPresent_ = present;
    ++watcher_;
    refused_ = false;
    registered_.clear();
    if (present) {
        registerWithWatcher(arranged_);
    }
}

void SniStatusBar::popupMenu(const Menu& menu, Point position) {
    if (!cannotDrawMenus_) {
        menus_.popup(menu, Rect{position.x, position.y, 1, 1});
        return;
    }
    const auto warn = std::exchange(cannotDrawMenus_, [](const std::string&) {});
    warn("This status bar asks Driftmark to draw an entry's menu itself, which a Wayland program "
         "without a window cannot do: a bar that shows the menus the items offer (waybar, KDE Plasma) "
         "shows it; meanwhile `driftmark-menubar --settings` opens the settings window.");
}

void SniStatusBar::forget(SniStatusItem& item) {
    std::erase(arranged_, &item);
    std::erase(registered_, &item);
}

void SniStatusBar::registerWithWatcher(const std::vector<SniStatusItem*>& items) {
    for (SniStatusItem* item : items) {
        registered_.push_back(item);
        item->registerWithWatcher(
            [this, watcher = watcher_](const QDBusError& error) { refusedBy(watcher, error); });
    }
}

// Every item of a refusing watcher is refused alike: its first refusal is the one reported. The error
// is the watcher's own text, kept to one short line.
void SniStatusBar::refusedBy(unsigned watcher, const QDBusError& error) {
    if (watcher != watcher_ || refused_) {
        return;
    }
    refused_ = true;
    registered_.clear();
    const std::string reason = OutsideText::excerpt(error.name().toStdString()) + ": " +
                               OutsideText::excerpt(error.message().toStdString());
    QMetaObject::invokeMethod(
        &context_,
        [this, watcher, reason] {
            if (watcher == watcher_ && refusedBy_) {
                refusedBy_(reason);
            }
        },
        Qt::QueuedConnection);
}

} // namespace driftmark
