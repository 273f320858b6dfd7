#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QSocketNotifier;
struct org_kde_kwin_fake_input;
struct wl_display;
struct wl_registry;
struct wl_seat;
struct zwlr_data_control_manager_v1;
struct zwlr_foreign_toplevel_manager_v1;
struct zwp_virtual_keyboard_manager_v1;

namespace driftmark {

// Driftmark's own connection to the Wayland compositor, apart from the one Qt may have, so that the Wayland
// services work whether Qt draws on Wayland or on XWayland. It keeps the globals the services need and
// dispatches the compositor's events from the event loop as they arrive. A compositor that goes away is
// reported once; the services then find the connection lost and do nothing more.
class WaylandConnection final {
public:
    // Connects to $WAYLAND_DISPLAY; absent without one, or when the compositor cannot be reached. `warn`
    // hears of a connection that was lost later.
    static std::unique_ptr<WaylandConnection> open(std::function<void(const std::string&)> warn);
    ~WaylandConnection();
    WaylandConnection(const WaylandConnection&) = delete;
    WaylandConnection& operator=(const WaylandConnection&) = delete;

    wl_display* display() const { return display_; }
    // The first seat the compositor announced; null when there is none.
    wl_seat* seat() const { return seat_; }
    // The data-control manager and the version bound (0 when the compositor offers none).
    zwlr_data_control_manager_v1* dataControlManager() const { return dataControl_; }
    std::uint32_t dataControlVersion() const { return dataControlVersion_; }
    // The foreign-toplevel manager; null when the compositor offers none. The compositor tells of every
    // window once the binding is flushed, and those events wait for the next dispatch: its one user sets
    // its listener, and flushes, before the event loop runs.
    zwlr_foreign_toplevel_manager_v1* foreignToplevelManager() const { return foreignToplevels_; }
    // The virtual-keyboard manager; null when the compositor offers none.
    zwp_virtual_keyboard_manager_v1* virtualKeyboardManager() const { return virtualKeyboard_; }
    // KWin's fake input, at a version that types keys; null when the compositor offers none (KWin offers
    // it only to the programs whose desktop files ask for it).
    org_kde_kwin_fake_input* fakeInput() const { return fakeInput_; }

    bool lost() const { return lost_; }
    // Sends the requests made so far; what the socket cannot take yet goes as soon as it can.
    void flush();

private:
    WaylandConnection(wl_display* display, std::function<void(const std::string&)> warn);
    bool start();
    void dispatch();
    void connectionLost();

    static void global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                       std::uint32_t version);
    static void globalRemoved(void* data, wl_registry* registry, std::uint32_t name);

    wl_display* display_ = nullptr;
    std::function<void(const std::string&)> warn_;
    wl_registry* registry_ = nullptr;
    wl_seat* seat_ = nullptr;
    zwlr_data_control_manager_v1* dataControl_ = nullptr;
    std::uint32_t dataControlVersion_ = 0;
    zwlr_foreign_toplevel_manager_v1* foreignToplevels_ = nullptr;
    zwp_virtual_keyboard_manager_v1* virtualKeyboard_ = nullptr;
    org_kde_kwin_fake_input* fakeInput_ = nullptr;
    std::unique_ptr<QSocketNotifier> readable_;
    std::unique_ptr<QSocketNotifier> writable_;
    bool lost_ = false;
};

} // namespace driftmark
