#include "platform/linux/tray/QtMenuTracking.h"

#include <QCoreApplication>
#include <QMenu>
#include <vector>

namespace driftmark {

QtMenuTracking::QtMenuTracking() {
    QCoreApplication::instance()->installEventFilter(this);
}

MenuTracking::ObserverHandle QtMenuTracking::addObserver(Phase phase, std::function<void()> handler) {
    const ObserverHandle handle = nextHandle_++;
    observers_.emplace(handle, std::make_pair(phase, std::move(handler)));
    return handle;
}

void QtMenuTracking::removeObserver(ObserverHandle handle) {
    observers_.erase(handle);
}

bool QtMenuTracking::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show) {
        const auto* menu = qobject_cast<const QMenu*>(watched);
        if (menu != nullptr && menu->isWindow() && openMenus_.insert(watched).second &&
            openMenus_.size() == 1) {
            notify(Phase::didBegin);
        }
    } else if (event->type() == QEvent::Hide) {
        // A menu destroyed while it shows hides from its QWidget destructor, when it is no QMenu any more.
        if (openMenus_.erase(watched) != 0 && openMenus_.empty()) {
            notify(Phase::didEnd);
        }
    }
    return false;
}

void QtMenuTracking::notify(Phase phase) {
    // An observer may add or remove observers; one removed by an earlier observer does not run.
    std::vector<ObserverHandle> handles;
    for (const auto& [handle, observer] : observers_) {
        if (observer.first == phase) {
            handles.push_back(handle);
        }
    }
    for (const ObserverHandle handle : handles) {
        const auto found = observers_.find(handle);
        if (found != observers_.end()) {
            const auto handler = found->second.second;
            handler();
        }
    }
}

} // namespace driftmark
