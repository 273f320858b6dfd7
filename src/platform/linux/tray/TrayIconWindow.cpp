#include "platform/linux/tray/TrayIconWindow.h"

#include "platform/linux/tray/DiscRenderer.h"
#include "platform/linux/x11/XcbImage.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <xcb/xcb_icccm.h>

namespace driftmark {

namespace {

// The size asked for until the tray has given one.
constexpr std::uint16_t requestedSide = 22;
constexpr std::uint32_t xembedVersion = 0;
constexpr std::uint32_t xembedMapped = 1;
constexpr std::uint8_t leftButton = 1;
constexpr std::uint8_t rightButton = 3;
constexpr std::string_view windowClass{"driftmark-menubar\0driftmark-menubar", 35};

constexpr std::uint32_t eventMask = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_STRUCTURE_NOTIFY |
                                    XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                                    XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_ENTER_WINDOW |
                                    XCB_EVENT_MASK_LEAVE_WINDOW;

xcb_window_t eventWindow(const xcb_generic_event_t* event) {
    switch (event->response_type & ~0x80) {
    case XCB_EXPOSE:
        return reinterpret_cast<const xcb_expose_event_t*>(event)->window;
    case XCB_CONFIGURE_NOTIFY:
        return reinterpret_cast<const xcb_configure_notify_event_t*>(event)->window;
    case XCB_REPARENT_NOTIFY:
        return reinterpret_cast<const xcb_reparent_notify_event_t*>(event)->window;
    case XCB_MAP_NOTIFY:
        return reinterpret_cast<const xcb_map_notify_event_t*>(event)->window;
    case XCB_UNMAP_NOTIFY:
        return reinterpret_cast<const xcb_unmap_notify_event_t*>(event)->window;
    case XCB_BUTTON_PRESS:
    case XCB_BUTTON_RELEASE:
        return reinterpret_cast<const xcb_button_press_event_t*>(event)->event;
    case XCB_MOTION_NOTIFY:
        return reinterpret_cast<const xcb_motion_notify_event_t*>(event)->event;
    case XCB_ENTER_NOTIFY:
    case XCB_LEAVE_NOTIFY:
        return reinterpret_cast<const xcb_enter_notify_event_t*>(event)->event;
    case XCB_CLIENT_MESSAGE:
        return reinterpret_cast<const xcb_client_message_event_t*>(event)->window;
    default:
        return XCB_WINDOW_NONE;
    }
}

} // namespace

TrayIconWindow::TrayIconWindow(const X11Context& x11, const TrayManager& manager, const std::string& name,
                               Handlers handlers)
    : x11_(x11)
    , manager_(manager)
    , handlers_(std::move(handlers)) {
    create();
    setName(name);
}

TrayIconWindow::~TrayIconWindow() {
    // Withdrawing as the embedding protocol describes it: unmap, back to the root window, then destroy.
    xcb_connection_t* connection = x11_.connection();
    xcb_unmap_window(connection, window_);
    if (embedded_) {
        xcb_reparent_window(connection, window_, x11_.root(), 0, 0);
    }
    xcb_destroy_window(connection, window_);
    if (colormap_ != XCB_NONE) {
        xcb_free_colormap(connection, colormap_);
    }
    xcb_flush(connection);
}

void TrayIconWindow::create() {
    xcb_connection_t* connection = x11_.connection();
    window_ = xcb_generate_id(connection);
    width_ = requestedSide;
    height_ = requestedSide;
    if (manager_.hasAlpha) {
        // A 32-bit window needs its own colormap and border; the tray composites its alpha channel.
        colormap_ = xcb_generate_id(connection);
        xcb_create_colormap(connection, XCB_COLORMAP_ALLOC_NONE, colormap_, x11_.root(), manager_.visual);
        const std::array<std::uint32_t, 4> values = {0, 0, eventMask, colormap_};
        xcb_create_window(connection, manager_.depth, window_, x11_.root(), 0, 0, requestedSide,
                          requestedSide, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, manager_.visual,
                          XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK | XCB_CW_COLORMAP,
                          values.data());
    } else {
        // Without alpha the tray's own background shows through the parent-relative background, and the
        // disc is blended onto what the window shows.
        const std::array<std::uint32_t, 2> values = {XCB_BACK_PIXMAP_PARENT_RELATIVE, eventMask};
        xcb_create_window(connection, manager_.depth, window_, x11_.root(), 0, 0, requestedSide,
                          requestedSide, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, manager_.visual,
                          XCB_CW_BACK_PIXMAP | XCB_CW_EVENT_MASK, values.data());
    }

    xcb_icccm_wm_hints_t hints{};
    xcb_icccm_wm_hints_set_input(&hints, 0);
    xcb_icccm_set_wm_hints(connection, window_, &hints);
    requestSide(requestedSide);
    xcb_icccm_set_wm_class(connection, window_, static_cast<std::uint32_t>(windowClass.size()),
                           windowClass.data());
    const std::array<std::uint32_t, 2> xembedInfo = {xembedVersion, xembedMapped};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window_, x11_.atoms().xembedInfo,
                        x11_.atoms().xembedInfo, 32, 2, xembedInfo.data());
}

// Trays size the slot from these hints; without them trayer gives the icon one pixel.
void TrayIconWindow::requestSide(int side) {
    hintedSide_ = side;
    xcb_size_hints_t hints{};
    xcb_icccm_size_hints_set_min_size(&hints, side, side);
    xcb_icccm_size_hints_set_base_size(&hints, side, side);
    xcb_icccm_set_wm_normal_hints(x11_.connection(), window_, &hints);
    xcb_flush(x11_.connection());
}

void TrayIconWindow::setName(const std::string& name) {
    xcb_connection_t* connection = x11_.connection();
    const auto length = static_cast<std::uint32_t>(name.size());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window_, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        length, name.data());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window_, x11_.atoms().netWmName,
                        x11_.atoms().utf8String, 8, length, name.data());
    xcb_flush(connection);
}

void TrayIconWindow::setContent(const std::optional<DiscIcon>& icon, double opacity) {
    icon_ = icon;
    opacity_ = opacity;
    paint();
}

bool TrayIconWindow::handleEvent(const xcb_generic_event_t* event) {
    if (eventWindow(event) != window_) {
        return false;
    }
    switch (event->response_type & ~0x80) {
    case XCB_EXPOSE:
        if (reinterpret_cast<const xcb_expose_event_t*>(event)->count == 0) {
            paint();
        }
        break;
    case XCB_CONFIGURE_NOTIFY: {
        const auto* configure = reinterpret_cast<const xcb_configure_notify_event_t*>(event);
        if (configure->width != width_ || configure->height != height_) {
            width_ = configure->width;
            height_ = configure->height;
            // A tray that stretches the slot along the panel's thickness gets a square of that size.
            if (const int side = std::max(width_, height_); side != hintedSide_) {
                requestSide(side);
            }
            paint();
        }
        break;
    }
    case XCB_REPARENT_NOTIFY:
        handleReparent(reinterpret_cast<const xcb_reparent_notify_event_t*>(event));
        break;
    case XCB_MAP_NOTIFY:
        mapped_ = true;
        break;
    case XCB_UNMAP_NOTIFY:
        mapped_ = false;
        break;
    case XCB_BUTTON_PRESS:
        handleButton(reinterpret_cast<const xcb_button_press_event_t*>(event), true);
        break;
    case XCB_BUTTON_RELEASE:
        handleButton(reinterpret_cast<const xcb_button_press_event_t*>(event), false);
        break;
    case XCB_MOTION_NOTIFY: {
        const auto* motion = reinterpret_cast<const xcb_motion_notify_event_t*>(event);
        const auto handler = handlers_.pointerMoved;
        handler(Point{static_cast<double>(motion->root_x), static_cast<double>(motion->root_y)});
        break;
    }
    case XCB_ENTER_NOTIFY: {
        const auto* enter = reinterpret_cast<const xcb_enter_notify_event_t*>(event);
        const auto handler = handlers_.pointerEntered;
        handler(Point{static_cast<double>(enter->root_x), static_cast<double>(enter->root_y)});
        break;
    }
    case XCB_LEAVE_NOTIFY: {
        const auto handler = handlers_.pointerLeft;
        handler();
        break;
    }
    default:
        // The embedder's focus and activation messages are ignored: the icon never takes the focus.
        break;
    }
    return true;
}

// The handlers run last and from copies: a click may end in the removal of this very icon.
void TrayIconWindow::handleButton(const xcb_button_press_event_t* event, bool press) {
    if (event->detail != leftButton && event->detail != rightButton) {
        return;
    }
    if (press) {
        pressedButton_ = event->detail;
        const auto handler = handlers_.pressed;
        handler();
        return;
    }
    const bool clicked = pressedButton_ == event->detail && event->event_x >= 0 && event->event_x < width_ &&
                         event->event_y >= 0 && event->event_y < height_;
    pressedButton_ = 0;
    if (clicked) {
        // The event tells where the window is: no need to ask the server.
        const Rect frame{static_cast<double>(event->root_x - event->event_x),
                         static_cast<double>(event->root_y - event->event_y), static_cast<double>(width_),
                         static_cast<double>(height_)};
        const auto handler = handlers_.clicked;
        handler(event->detail, frame);
    }
}

void TrayIconWindow::handleReparent(const xcb_reparent_notify_event_t* event) {
    embedded_ = event->parent != x11_.root();
    if (embedded_) {
        // Mapped only now: a window shown before the tray took it gets a one-pixel slot in some trays.
        xcb_map_window(x11_.connection(), window_);
    } else {
        // A tray that exits hands its icons back to the root window, mapped; they must not stay on the
        // desktop as squares.
        xcb_unmap_window(x11_.connection(), window_);
    }
    xcb_flush(x11_.connection());
}

void TrayIconWindow::paint() {
    if (!mapped_) {
        return;
    }
    xcb_connection_t* connection = x11_.connection();
    if (!icon_) {
        xcb_clear_area(connection, 0, window_, 0, 0, 0, 0);
        xcb_flush(connection);
        return;
    }
    const QSize size(width_, height_);
    QImage background;
    if (!manager_.hasAlpha) {
        xcb_clear_area(connection, 0, window_, 0, 0, 0, 0);
        background = windowImage(connection, window_, size);
        if (background.isNull()) {
            return;
        }
    }
    putWindowImage(connection, window_, manager_.depth, renderDisc(*icon_, size, opacity_, background));
}

} // namespace driftmark
