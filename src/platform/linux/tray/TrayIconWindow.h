#pragma once

#include "platform/Geometry.h"
#include "platform/StatusBar.h"
#include "platform/linux/tray/TrayHost.h"
#include "platform/linux/x11/X11Context.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace driftmark {

// One tray icon's X window, made for the visual of the tray it docks into. It never takes the keyboard
// focus, shows itself only once the tray has reparented it, and paints its disc at the size the tray
// gives it.
class TrayIconWindow {
public:
    struct Handlers {
        // A left (1) or right (3) button released inside the window after it was pressed there, with
        // the window's rectangle on the root window in pixels.
        std::function<void(std::uint8_t button, const Rect& frame)> clicked;
        std::function<void()> pressed;
        // The pointer entered or moved over the window; its position on the root window in pixels.
        std::function<void(Point position)> pointerEntered;
        std::function<void(Point position)> pointerMoved;
        std::function<void()> pointerLeft;
    };

    TrayIconWindow(const X11Context& x11, const TrayManager& manager, const std::string& name,
                   Handlers handlers);
    ~TrayIconWindow();
    TrayIconWindow(const TrayIconWindow&) = delete;
    TrayIconWindow& operator=(const TrayIconWindow&) = delete;

    xcb_window_t id() const { return window_; }
    void setName(const std::string& name);
    void setContent(const std::optional<DiscIcon>& icon, double opacity);
    // Handles an event about this window and answers true; answers false for any other event.
    bool handleEvent(const xcb_generic_event_t* event);

private:
    void create();
    void requestSide(int side);
    void paint();
    void handleButton(const xcb_button_press_event_t* event, bool press);
    void handleReparent(const xcb_reparent_notify_event_t* event);

    const X11Context& x11_;
    TrayManager manager_;
    Handlers handlers_;
    xcb_window_t window_ = XCB_WINDOW_NONE;
    xcb_colormap_t colormap_ = XCB_NONE;
    int width_ = 0;
    int height_ = 0;
    int hintedSide_ = 0;
    bool embedded_ = false;
    bool mapped_ = false;
    std::uint8_t pressedButton_ = 0;
    std::optional<DiscIcon> icon_;
    double opacity_ = 1;
};

} // namespace driftmark
