#include "platform/linux/tray/XEmbedStatusItem.h"

#include "platform/linux/tray/TrayDock.h"

#include <QTimer>
#include <chrono>

namespace driftmark {

namespace {

constexpr std::uint8_t leftButton = 1;

} // namespace

XEmbedStatusItem::XEmbedStatusItem(std::shared_ptr<TrayDock> dock, std::string name)
    : dock_(std::move(dock))
    , name_(std::move(name)) {
    dock_->add(*this);
}

XEmbedStatusItem::~XEmbedStatusItem() {
    withdraw();
}

// Every change of the entry list refreshes every item; an unchanged disc is not painted again, which
// on a tray without alpha would read the background back from the server each time.
void XEmbedStatusItem::setImage(const DiscIcon& icon) {
    if (image_ == icon) {
        return;
    }
    image_ = icon;
    if (window_) {
        window_->setContent(image_, alpha_);
    }
}

void XEmbedStatusItem::setToolTip(const std::string& text) {
    toolTip_.setText(text);
}

void XEmbedStatusItem::setHandlers(StatusItemHandlers handlers) {
    handlers_ = std::move(handlers);
}

// The opacity changes at once; the completion follows after `duration`, unless the item is gone then.
void XEmbedStatusItem::animateAlphaValue(double alpha, double duration, std::function<void()> completion) {
    alpha_ = alpha;
    if (window_) {
        window_->setContent(image_, alpha_);
    }
    if (completion) {
        const auto delay = std::chrono::milliseconds(static_cast<long long>(std::max(0.0, duration) * 1000));
        QTimer::singleShot(delay, Qt::PreciseTimer, &animations_, std::move(completion));
    }
}

void XEmbedStatusItem::withdraw() {
    if (withdrawn_) {
        return;
    }
    withdrawn_ = true;
    toolTip_.hide();
    window_.reset();
    dock_->remove(*this);
}

void XEmbedStatusItem::dock(const TrayManager& manager) {
    TrayIconWindow::Handlers handlers{
        [this](std::uint8_t button, const Rect& frame) { clicked(button, frame); },
        [this] { toolTip_.hide(); },
        [this](Point position) { pointerEntered(position); },
        [this](Point position) { toolTip_.pointerMoved(position); },
        [this] { toolTip_.hide(); },
    };
    window_ = std::make_unique<TrayIconWindow>(dock_->display(), manager, name_, std::move(handlers));
    window_->setContent(image_, alpha_);
    dock_->requestDock(window_->id());
}

void XEmbedStatusItem::undock() {
    toolTip_.hide();
    window_.reset();
}

bool XEmbedStatusItem::handleEvent(const xcb_generic_event_t* event) {
    return window_ && window_->handleEvent(event);
}

// The handlers run from copies: a click may end in the removal of this very item.
void XEmbedStatusItem::clicked(std::uint8_t button, const Rect& frame) {
    toolTip_.hide();
    if (button == leftButton) {
        if (const auto activated = handlers_.activated) {
            activated();
        }
        return;
    }
    const auto requested = handlers_.contextMenuRequested;
    if (!requested) {
        return;
    }
    if (const std::optional<Menu> menu = requested(Point{frame.x, frame.y})) {
        dock_->menus().popup(*menu, frame);
    }
}

void XEmbedStatusItem::pointerEntered(Point position) {
    toolTip_.pointerMoved(position);
    if (const auto entered = handlers_.pointerEntered) {
        entered();
    }
}

} // namespace driftmark
