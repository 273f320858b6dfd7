#pragma once

#include "platform/WindowService.h"

#include <QObject>

class QQuickWindow;

namespace driftmark {

// One application window over a Qt Quick window. Closing it hides it; the view keeps its state until
// the window is shown again.
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

    QQuickWindow* window_;
    WindowDelegate* delegate_;
};

} // namespace driftmark
