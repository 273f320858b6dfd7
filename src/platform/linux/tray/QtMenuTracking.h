#pragma once

#include "platform/MenuTracking.h"

#include <QObject>
#include <map>
#include <set>
#include <utility>

namespace driftmark {

// Follows the application's menus by the show and hide events of its QMenu windows, seen through a filter
// on the Qt application: a menu opens before it grabs the keyboard and closes after it let go. A menu
// with open submenus counts as one menu: didBegin comes when the first of them shows, didEnd when the last
// one hides.
class QtMenuTracking final : public QObject, public MenuTracking {
    Q_OBJECT

public:
    QtMenuTracking();

    ObserverHandle addObserver(Phase phase, std::function<void()> handler) override;
    void removeObserver(ObserverHandle handle) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void notify(Phase phase);

    // The menu windows on screen. Only compared, never used: a menu may be half destroyed when it hides.
    std::set<const QObject*> openMenus_;
    std::map<ObserverHandle, std::pair<Phase, std::function<void()>>> observers_;
    ObserverHandle nextHandle_ = 1;
};

} // namespace driftmark
