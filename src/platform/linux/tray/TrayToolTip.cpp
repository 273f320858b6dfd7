#include "platform/linux/tray/TrayToolTip.h"

#include "platform/linux/x11/ScreenCoordinates.h"

#include <QApplication>
#include <QStyle>
#include <QTextDocument>
#include <QToolTip>

namespace driftmark {

TrayToolTip::TrayToolTip() {
    delay_.setSingleShot(true);
    delay_.setInterval(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay));
    QObject::connect(&delay_, &QTimer::timeout, &delay_, [this] { show(); });
}

TrayToolTip::~TrayToolTip() {
    hide();
}

void TrayToolTip::setText(const std::string& text) {
    text_ = text;
    if (isShown()) {
        show();
    }
}

void TrayToolTip::pointerMoved(Point position) {
    if (isShown()) {
        return;
    }
    position_ = position;
    delay_.start();
}

void TrayToolTip::hide() {
    delay_.stop();
    if (shown_) {
        shown_ = false;
        QToolTip::hideText();
    }
}

// Qt hides a tooltip by itself after a while; it comes back only after the pointer rests again.
bool TrayToolTip::isShown() const {
    return shown_ && QToolTip::isVisible();
}

void TrayToolTip::show() {
    if (text_.empty()) {
        hide();
        return;
    }
    // Converted to markup so that the title's own characters are never read as markup, and the lines
    // stay as they are.
    const QString text = Qt::convertFromPlainText(QString::fromStdString(text_), Qt::WhiteSpaceNoWrap);
    QToolTip::showText(toLogicalPoint(position_), text);
    shown_ = true;
}

} // namespace driftmark
