#include "platform/linux/sni/StatusNotifierItemObject.h"

namespace driftmark {

StatusNotifierItemObject::StatusNotifierItemObject(QString id, QDBusObjectPath menu, Handlers handlers)
    : id_(std::move(id))
    , menu_(std::move(menu))
    , handlers_(std::move(handlers)) {
    registerStatusNotifierTypes();
}

QString StatusNotifierItemObject::id() const {
    return id_;
}

QString StatusNotifierItemObject::category() const {
    return QStringLiteral("ApplicationStatus");
}

QString StatusNotifierItemObject::status() const {
    return QStringLiteral("Active");
}

QString StatusNotifierItemObject::title() const {
    return toolTip_.title;
}

// No theme has Driftmark's discs.
QString StatusNotifierItemObject::iconName() const {
    return {};
}

StatusNotifierPixmaps StatusNotifierItemObject::iconPixmap() const {
    return pixmaps_;
}

StatusNotifierPixmaps StatusNotifierItemObject::noPixmaps() const {
    return {};
}

StatusNotifierToolTip StatusNotifierItemObject::toolTip() const {
    return toolTip_;
}

// A click activates; the menu is for the other button.
bool StatusNotifierItemObject::itemIsMenu() const {
    return false;
}

QDBusObjectPath StatusNotifierItemObject::menu() const {
    return menu_;
}

void StatusNotifierItemObject::setIcon(StatusNotifierPixmaps pixmaps) {
    pixmaps_ = std::move(pixmaps);
    Q_EMIT NewIcon();
}

void StatusNotifierItemObject::setToolTip(const QString& text) {
    const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'));
    const QString title = lineEnd < 0 ? text : text.left(lineEnd);
    // The body may hold markup on some hosts: the text is shown as it is.
    const QString body = lineEnd < 0 ? QString() : text.mid(lineEnd + 1).toHtmlEscaped();
    const bool titleChanged = title != toolTip_.title;
    if (!titleChanged && body == toolTip_.body) {
        return;
    }
    toolTip_.title = title;
    toolTip_.body = body;
    if (titleChanged) {
        Q_EMIT NewTitle();
    }
    Q_EMIT NewToolTip();
}

void StatusNotifierItemObject::Activate(int, int) {
    handlers_.activate();
}

void StatusNotifierItemObject::ContextMenu(int x, int y) {
    handlers_.contextMenu(x, y);
}

// Driftmark has nothing for the middle button or the wheel.
void StatusNotifierItemObject::SecondaryActivate(int, int) {}

void StatusNotifierItemObject::Scroll(int, const QString&) {}

} // namespace driftmark
