#include "platform/linux/TrayStatusItem.h"

#include "platform/linux/TrayStatusBar.h"

#include <QTimer>
#include <algorithm>
#include <chrono>

namespace driftmark {

TrayStatusItem::TrayStatusItem(TrayStatusBar& bar, StatusItemNames names)
    : bar_(bar)
    , names_(std::move(names)) {}

TrayStatusItem::~TrayStatusItem() {
    bar_.forget(*this);
}

void TrayStatusItem::setImage(const DiscIcon& icon) {
    image_ = icon;
    if (shown_) {
        shown_->setImage(icon);
    }
}

void TrayStatusItem::setToolTip(const std::string& text) {
    toolTip_ = text;
    if (shown_) {
        shown_->setToolTip(text);
    }
}

void TrayStatusItem::setHandlers(StatusItemHandlers handlers) {
    handlers_ = std::move(handlers);
    if (shown_) {
        shown_->setHandlers(handlers_);
    }
}

void TrayStatusItem::animateAlphaValue(double alpha, double duration, std::function<void()> completion) {
    alpha_ = alpha;
    if (shown_) {
        shown_->animateAlphaValue(alpha, duration, {});
    }
    if (completion) {
        const auto delay = std::chrono::milliseconds(static_cast<long long>(std::max(0.0, duration) * 1000));
        QTimer::singleShot(delay, Qt::PreciseTimer, &animations_, std::move(completion));
    }
}

void TrayStatusItem::showOn(std::unique_ptr<StatusItem> item) {
    shown_ = std::move(item);
    if (!shown_) {
        return;
    }
    if (image_) {
        shown_->setImage(*image_);
    }
    if (toolTip_) {
        shown_->setToolTip(*toolTip_);
    }
    shown_->setHandlers(handlers_);
    if (alpha_ != 1) {
        shown_->animateAlphaValue(alpha_, 0, {});
    }
}

std::unique_ptr<StatusItem> TrayStatusItem::takeShown() {
    return std::move(shown_);
}

} // namespace driftmark
