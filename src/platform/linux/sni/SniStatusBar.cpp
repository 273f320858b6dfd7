#include "platform/linux/sni/SniStatusBar.h"

#include "platform/linux/sni/RegistrationPlan.h"
#include "platform/linux/sni/SniStatusItem.h"

#include <algorithm>

namespace driftmark {

SniStatusBar::SniStatusBar() = default;

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
    if (!watcherPresent_) {
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
    registered_.clear();
    if (present) {
        registerWithWatcher(arranged_);
    }
}

void SniStatusBar::forget(SniStatusItem& item) {
    std::erase(arranged_, &item);
    std::erase(registered_, &item);
}

void SniStatusBar::registerWithWatcher(const std::vector<SniStatusItem*>& items) {
    for (SniStatusItem* item : items) {
        registered_.push_back(item);
        item->registerWithWatcher();
    }
}

} // namespace driftmark
