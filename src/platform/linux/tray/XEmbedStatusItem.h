#pragma once

#include "platform/StatusBar.h"
#include "platform/linux/tray/TrayHost.h"
#include "platform/linux/tray/TrayIconWindow.h"
#include "platform/linux/tray/TrayToolTip.h"

#include <QObject>
#include <memory>

namespace driftmark {

class TrayDock;

// A status item shown as an XEmbed tray icon. It keeps its state while no tray runs and shows it again
// in each new window that a tray docks.
class XEmbedStatusItem final : public StatusItem {
public:
    // Takes its place after the dock's other icons; its X window is named `name`, by which scripts
    // find it.
    XEmbedStatusItem(std::shared_ptr<TrayDock> dock, std::string name);
    ~XEmbedStatusItem() override;
    XEmbedStatusItem(const XEmbedStatusItem&) = delete;
    XEmbedStatusItem& operator=(const XEmbedStatusItem&) = delete;

    void setImage(const DiscIcon& icon) override;
    void setToolTip(const std::string& text) override;
    void setHandlers(StatusItemHandlers handlers) override;
    void animateAlphaValue(double alpha, double duration, std::function<void()> completion) override;

    // Takes the icon off the tray for good.
    void withdraw();

    // Called by the dock.
    void dock(const TrayManager& manager);
    void undock();
    bool handleEvent(const xcb_generic_event_t* event);

private:
    void clicked(std::uint8_t button, const Rect& frame);
    void pointerEntered(Point position);

    std::shared_ptr<TrayDock> dock_;
    std::unique_ptr<TrayIconWindow> window_;
    TrayToolTip toolTip_;
    QObject animations_; // context of pending animation completions: they die with the item
    bool withdrawn_ = false;
    std::string name_;
    std::optional<DiscIcon> image_;
    double alpha_ = 1;
    StatusItemHandlers handlers_;
};

} // namespace driftmark
