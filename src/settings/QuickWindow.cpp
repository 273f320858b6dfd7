#include "settings/QuickWindow.h"

#include <QGuiApplication>
#include <QQuickWindow>
#include <QScreen>

namespace driftmark {

QuickWindow::QuickWindow(QQuickWindow* window, WindowDelegate* delegate)
    : window_(window)
    , delegate_(delegate) {
    connect(window_, &QWindow::widthChanged, this, &QuickWindow::sizeChanged);
    connect(window_, &QWindow::heightChanged, this, &QuickWindow::sizeChanged);
}

QuickWindow::~QuickWindow() {
    delete window_;
}

void QuickWindow::center() {
    const QScreen* screen =
        window_->screen() != nullptr ? window_->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    QRect frame(QPoint(), window_->size());
    frame.moveCenter(screen->availableGeometry().center());
    window_->setPosition(frame.topLeft());
}

void QuickWindow::makeKeyAndOrderFront() {
    window_->show();
    window_->raise();
    window_->requestActivate();
}

Size QuickWindow::size() const {
    return {static_cast<double>(window_->width()), static_cast<double>(window_->height())};
}

void QuickWindow::sizeChanged() {
    if (delegate_ != nullptr) {
        delegate_->windowDidResize(*this);
    }
}

} // namespace driftmark
