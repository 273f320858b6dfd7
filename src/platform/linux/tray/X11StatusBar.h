#pragma once

#include "platform/StatusBar.h"

#include <memory>

namespace driftmark {

class TrayDock;
class X11PointerMonitor;

// The X11 system tray as the status bar: one XEmbed tray icon per status item, in creation order.
class X11StatusBar final : public StatusBar {
public:
    // Needs a QApplication on the xcb platform, which must outlive every status item. Pointer moves over
    // the icons go to `pointerMonitor`, which must outlive them as well.
    explicit X11StatusBar(X11PointerMonitor& pointerMonitor);
    ~X11StatusBar() override;

    std::unique_ptr<StatusItem> statusItem() override;
    void removeStatusItem(StatusItem& item) override;

private:
    std::shared_ptr<TrayDock> dock_;
};

} // namespace driftmark
