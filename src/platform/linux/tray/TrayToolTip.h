#pragma once

#include "platform/Geometry.h"

#include <QTimer>
#include <string>

namespace driftmark {

// The tooltip of one tray icon: it appears when the pointer rests on the icon, keeps its place while the
// pointer moves on the icon, follows text changes while shown and goes when the pointer leaves or presses.
// Lines are separated by '\n'.
class TrayToolTip {
public:
    TrayToolTip();
    ~TrayToolTip();
    TrayToolTip(const TrayToolTip&) = delete;
    TrayToolTip& operator=(const TrayToolTip&) = delete;

    void setText(const std::string& text);
    // The pointer's position on the root window in pixels.
    void pointerMoved(Point position);
    void hide();

private:
    bool isShown() const;
    void show();

    QTimer delay_;
    std::string text_;
    Point position_;
    bool shown_ = false;
};

} // namespace driftmark
