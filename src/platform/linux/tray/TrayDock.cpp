#include "platform/linux/tray/TrayDock.h"

#include "platform/linux/tray/XEmbedStatusItem.h"

#include <QCoreApplication>
#include <algorithm>

namespace driftmark {

TrayDock::TrayDock(const std::function<void(const std::string&)>& warn)
    : x11_(X11Context::shared()) {
    if (x11_.connection() != nullptr) {
        host_ = std::make_unique<TrayHost>(x11_, [this] { redock(); });
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    if (!host_ || !host_->manager()) {
        warn("No system tray is running; the icons will appear when one starts");
    }
}

TrayDock::~TrayDock() {
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

void TrayDock::add(XEmbedStatusItem& icon) {
    icons_.push_back(&icon);
    if (host_ && host_->manager()) {
        icon.dock(*host_->manager());
    }
}

void TrayDock::remove(XEmbedStatusItem& icon) {
    std::erase(icons_, &icon);
}

void TrayDock::requestDock(xcb_window_t window) const {
    if (host_) {
        host_->requestDock(window);
    }
}

bool TrayDock::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    // An icon's handler may remove icons: nothing here touches the list after one took the event.
    for (XEmbedStatusItem* icon : icons_) {
        if (icon->handleEvent(event)) {
            return true;
        }
    }
    host_->handleEvent(event);
    return false;
}

// Every icon gets a new window for the new tray's visual; the new tray sees them in creation order.
void TrayDock::redock() {
    for (XEmbedStatusItem* icon : icons_) {
        icon->undock();
    }
    if (const auto& manager = host_->manager()) {
        for (XEmbedStatusItem* icon : icons_) {
            icon->dock(*manager);
        }
    }
}

} // namespace driftmark
