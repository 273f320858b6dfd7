#pragma once

#include "platform/WindowService.h"

#include <QObject>
#include <QSize>

class QQuickWindow;

namespace driftmark {

struct WindowPlacement;

// One application window over a Qt Quick window. Closing it hides it; the view keeps its state until
// the window is shown again. The window always fits its screen: its size and minimum are held to the
// screen's free area, and it is placed wholly on it.
class QuickWindow final : public QObject, public PlatformWindow {
    Q_OBJECT
public:
    // Takes ownership of the window.
    QuickWindow(QQuickWindow* window, WindowDelegate* delegate);
    ~QuickWindow() override;

    void center() override;
    void makeKeyAndOrderFront() override;
    Size size() const override;

    QQuickWindow* window() const { return window_; }

private:
    void sizeChanged();
    // Once the window manager has framed the window, its frame is known: a window that the estimate
    // left partly off the screen is brought back.
    void activeChanged();
    void keepOnScreen();
    void apply(const WindowPlacement& placement);

    QQuickWindow* window_;
    WindowDelegate* delegate_;
    // The view's own smallest size, before any screen made it smaller.
    QSize wantedMinimum_;
    // The size last given to fit a screen: not the user's choice, so not reported as a resize, whether
    // the window takes it at once or when the window manager answers.
    QSize fittedSize_;
    // The frame is checked on the first activation after each showing, not when the user has since
    // moved the window.
    bool checksFrame_ = false;
};

} // namespace driftmark
