#include "settings/QuickWindow.h"

#include "app/WindowPlacement.h"

#include <QGuiApplication>
#include <QQuickWindow>
#include <QScreen>

namespace driftmark {

namespace {

const QScreen* screenOf(const QWindow& window) {
    return window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
}

Rect toRect(const QRect& rect) {
    return {static_cast<double>(rect.x()), static_cast<double>(rect.y()), static_cast<double>(rect.width()),
            static_cast<double>(rect.height())};
}

Size toSize(const QSize& size) {
    return {static_cast<double>(size.width()), static_cast<double>(size.height())};
}

// Until the window manager has framed the window, its frame is unknown: a title bar's height is
// allowed for, so that the first placement is already on the screen.
FrameMargins frameOf(const QWindow& window) {
    const QMargins margins = window.frameMargins();
    if (margins.isNull()) {
        return {0, 32, 0, 0};
    }
    return {static_cast<double>(margins.left()), static_cast<double>(margins.top()),
            static_cast<double>(margins.right()), static_cast<double>(margins.bottom())};
}

} // namespace

QuickWindow::QuickWindow(QQuickWindow* window, WindowDelegate* delegate)
    : window_(window)
    , delegate_(delegate)
    , wantedMinimum_(window->minimumSize()) {
    connect(window_, &QWindow::widthChanged, this, &QuickWindow::sizeChanged);
    connect(window_, &QWindow::heightChanged, this, &QuickWindow::sizeChanged);
    connect(window_, &QWindow::activeChanged, this, &QuickWindow::activeChanged);
}

QuickWindow::~QuickWindow() {
    delete window_;
}

void QuickWindow::center() {
    const QScreen* screen = screenOf(*window_);
    if (screen == nullptr) {
        return;
    }
    apply(centredPlacement(toSize(window_->size()), toSize(wantedMinimum_), toRect(screen->availableGeometry()),
                           frameOf(*window_)));
}

void QuickWindow::makeKeyAndOrderFront() {
    // The screen may have changed since the window was last shown (a laptop taken off its monitor).
    keepOnScreen();
    checksFrame_ = true;
    window_->show();
    window_->raise();
    window_->requestActivate();
}

Size QuickWindow::size() const {
    return toSize(window_->size());
}

void QuickWindow::sizeChanged() {
    if (window_->size() == fittedSize_) {
        return;
    }
    fittedSize_ = QSize();
    if (delegate_ != nullptr) {
        delegate_->windowDidResize(*this);
    }
}

void QuickWindow::activeChanged() {
    if (window_->isActive() && checksFrame_) {
        checksFrame_ = false;
        keepOnScreen();
    }
}

void QuickWindow::keepOnScreen() {
    const QScreen* screen = screenOf(*window_);
    if (screen == nullptr) {
        return;
    }
    apply(placementOnScreen(toRect(window_->geometry()), toSize(wantedMinimum_), toRect(screen->availableGeometry()),
                            frameOf(*window_)));
}

void QuickWindow::apply(const WindowPlacement& placement) {
    const QRect client(static_cast<int>(placement.client.x), static_cast<int>(placement.client.y),
                       static_cast<int>(placement.client.width), static_cast<int>(placement.client.height));
    const QSize minimum(static_cast<int>(placement.minimumSize.width),
                        static_cast<int>(placement.minimumSize.height));
    if (window_->minimumSize() != minimum) {
        window_->setMinimumSize(minimum);
    }
    if (window_->geometry() == client) {
        return;
    }
    if (client.size() != window_->size()) {
        fittedSize_ = client.size();
    }
    window_->setGeometry(client);
}

} // namespace driftmark
