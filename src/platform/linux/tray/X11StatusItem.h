#pragma once

#include "platform/StatusBar.h"
#include "platform/linux/tray/TrayIconButton.h"

#include <memory>

namespace driftmark {

class TrayDock;

// A status item on the X11 system tray; its button is always present.
class X11StatusItem final : public StatusItem {
public:
    explicit X11StatusItem(std::shared_ptr<TrayDock> dock);

    void setAutosaveName(const std::string& name) override;
    StatusBarButton* button() override { return &button_; }
    void setMenu(std::optional<Menu> menu) override;

    // Takes the item off the tray; it stays inert until destroyed.
    void remove();

private:
    TrayIconButton button_;
};

} // namespace driftmark
