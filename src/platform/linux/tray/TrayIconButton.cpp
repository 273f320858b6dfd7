#include "platform/linux/tray/TrayIconButton.h"

#include "platform/linux/tray/TrayDock.h"

#include <QTimer>
#include <chrono>

namespace driftmark {

namespace {

constexpr std::uint8_t leftButton = 1;

} // namespace

TrayIconButton::TrayIconButton(std::shared_ptr<TrayDock> dock)
    : dock_(std::move(dock)) {
    dock_->add(*this);
}

TrayIconButton::~TrayIconButton() {
    withdraw();
}

void TrayIconButton::setImage(const DiscIcon& icon) {
    image_ = icon;
    if (window_) {
        window_->setContent(image_, alpha_);
    }
}

void TrayIconButton::setToolTip(const std::string& text) {
    toolTip_.setText(text);
}

void TrayIconButton::setAction(std::function<void(MouseEventType)> action) {
    action_ = std::move(action);
}

void TrayIconButton::setTag(std::int64_t tag) {
    tag_ = tag;
}

std::optional<Rect> TrayIconButton::screenFrame() const {
    return window_ ? window_->screenFrame() : std::nullopt;
}

// The opacity changes at once; the completion follows after `duration`, unless the button is gone then.
void TrayIconButton::animateAlphaValue(double alpha, double duration, std::function<void()> completion) {
    alpha_ = alpha;
    if (window_) {
        window_->setContent(image_, alpha_);
    }
    if (completion) {
        const auto delay = std::chrono::milliseconds(static_cast<long long>(std::max(0.0, duration) * 1000));
        QTimer::singleShot(delay, Qt::PreciseTimer, &animations_, std::move(completion));
    }
}

void TrayIconButton::performClick() {
    toolTip_.hide();
    if (menu_) {
        dock_->menus().popup(*menu_, screenFrame());
    }
}

void TrayIconButton::setName(const std::string& name) {
    name_ = name;
    if (window_) {
        window_->setName(name_);
    }
}

void TrayIconButton::setMenu(std::optional<Menu> menu) {
    menu_ = std::move(menu);
}

void TrayIconButton::withdraw() {
    if (withdrawn_) {
        return;
    }
    withdrawn_ = true;
    toolTip_.hide();
    window_.reset();
    dock_->remove(*this);
}

void TrayIconButton::dock(const TrayManager& manager) {
    TrayIconWindow::Handlers handlers{
        [this](std::uint8_t button) { clicked(button); },
        [this] { toolTip_.hide(); },
        [this](Point position) { pointerMoved(position); },
        [this] { toolTip_.hide(); },
    };
    window_ = std::make_unique<TrayIconWindow>(dock_->display(), manager, name_, std::move(handlers));
    window_->setContent(image_, alpha_);
    dock_->requestDock(window_->id());
}

void TrayIconButton::undock() {
    toolTip_.hide();
    window_.reset();
}

bool TrayIconButton::handleEvent(const xcb_generic_event_t* event) {
    return window_ && window_->handleEvent(event);
}

void TrayIconButton::clicked(std::uint8_t button) {
    toolTip_.hide();
    if (menu_) {
        performClick();
        return;
    }
    if (const auto action = action_) {
        action(button == leftButton ? MouseEventType::leftMouseUp : MouseEventType::rightMouseUp);
    }
}

void TrayIconButton::pointerMoved(Point position) {
    toolTip_.pointerMoved(position);
    dock_->pointerMoved();
}

} // namespace driftmark
