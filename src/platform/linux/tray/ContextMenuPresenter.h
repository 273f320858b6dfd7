#pragma once

#include "platform/Geometry.h"
#include "platform/StatusBar.h"

#include <QMenu>
#include <QPointer>
#include <optional>

namespace driftmark {

// Shows context menus as QMenus next to a tray icon, one at a time, without blocking.
class ContextMenuPresenter {
public:
    ContextMenuPresenter() = default;
    ~ContextMenuPresenter();
    ContextMenuPresenter(const ContextMenuPresenter&) = delete;
    ContextMenuPresenter& operator=(const ContextMenuPresenter&) = delete;

    // Pops `menu` up below or above `anchor` (root-window pixels), or at the pointer without one, and
    // returns at once. A chosen entry's action is called with a copy of the entry. Fixed key equivalents
    // work while the menu is open; shown ones only show, kept up to date by their entry's binding until
    // the menu goes.
    void popup(const Menu& menu, std::optional<Rect> anchor);

private:
    QPointer<QMenu> menu_;
};

} // namespace driftmark
