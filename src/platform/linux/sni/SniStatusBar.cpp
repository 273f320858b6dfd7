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
        ++round_;
        registering_ = nullptr;
        queue_.clear();
        registered_.clear();
        for (SniStatusItem* item : arranged_) {
            item->reconnect();
        }
    }
    for (SniStatusItem* item : plan.toRegister) {
        registered_.push_back(item);
        queue_.push_back(item);
    }
    registerNext();
}

void SniStatusBar::watcherChanged(bool present) {
    watcherPresent_ = present;
    ++round_;
    registering_ = nullptr;
    queue_.clear();
    registered_.clear();
    if (present) {
        registered_ = arranged_;
        queue_.assign(arranged_.begin(), arranged_.end());
        registerNext();
    }
}

void SniStatusBar::forget(SniStatusItem& item) {
    std::erase(arranged_, &item);
    std::erase(registered_, &item);
    std::erase(queue_, &item);
    // Its answer will never come.
    if (registering_ == &item) {
        registering_ = nullptr;
        ++round_;
        registerNext();
    }
}

void SniStatusBar::registerNext() {
    if (registering_ != nullptr || queue_.empty()) {
        return;
    }
    registering_ = queue_.front();
    queue_.pop_front();
    registering_->registerWithWatcher([this, round = round_] {
        if (round != round_) {
            return;
        }
        registering_ = nullptr;
        registerNext();
    });
}

} // namespace driftmark
