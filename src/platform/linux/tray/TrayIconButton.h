#pragma once

#include "platform/StatusBar.h"
#include "platform/linux/tray/TrayHost.h"
#include "platform/linux/tray/TrayIconWindow.h"
#include "platform/linux/tray/TrayToolTip.h"

#include <QObject>
#include <memory>

namespace driftmark {

class TrayDock;

// A status button shown as a tray icon. It keeps its state while no tray runs and shows it again in
// each new window that a tray docks.
class TrayIconButton final : public StatusBarButton {
public:
    // Takes its place after the dock's other icons.
    explicit TrayIconButton(std::shared_ptr<TrayDock> dock);
    ~TrayIconButton() override;
    TrayIconButton(const TrayIconButton&) = delete;
    TrayIconButton& operator=(const TrayIconButton&) = delete;

    void setImage(const DiscIcon& icon) override;
    void setToolTip(const std::string& text) override;
    void setAction(std::function<void(MouseEventType)> action) override;
    void setTag(std::int64_t tag) override;
    std::int64_t tag() const override { return tag_; }
    std::optional<Rect> screenFrame() const override;
    void animateAlphaValue(double alpha, double duration, std::function<void()> completion) override;
    void performClick() override;

    // The name of the icon's X window (WM_NAME), by which scripts find it.
    void setName(const std::string& name);
    // While a menu is attached, a click pops it up instead of calling the action.
    void setMenu(std::optional<Menu> menu);
    // Takes the icon off the tray for good.
    void withdraw();

    // Called by the dock.
    void dock(const TrayManager& manager);
    void undock();
    bool handleEvent(const xcb_generic_event_t* event);

private:
    void clicked(std::uint8_t button);
    void pointerMoved(Point position);

    std::shared_ptr<TrayDock> dock_;
    std::unique_ptr<TrayIconWindow> window_;
    TrayToolTip toolTip_;
    QObject animations_; // context of pending animation completions: they die with the button
    bool withdrawn_ = false;
    std::string name_;
    std::optional<DiscIcon> image_;
    double alpha_ = 1;
    std::function<void(MouseEventType)> action_;
    std::int64_t tag_ = 0;
    std::optional<Menu> menu_;
};

} // namespace driftmark
