#include "platform/linux/tray/X11StatusItem.h"

namespace driftmark {

X11StatusItem::X11StatusItem(std::shared_ptr<TrayDock> dock)
    : button_(std::move(dock)) {}

void X11StatusItem::setAutosaveName(const std::string& name) {
    button_.setName(name);
}

void X11StatusItem::setMenu(std::optional<Menu> menu) {
    button_.setMenu(std::move(menu));
}

void X11StatusItem::remove() {
    button_.withdraw();
}

} // namespace driftmark
