#pragma once

#include <cstdint>
#include <string>

struct wl_keyboard;
struct wl_registry;
struct wl_seat;
struct wl_surface;
struct wl_array;

namespace driftmark {

class WaylandConnection;

// The keymap of the keyboard on the compositor's first seat, as the compositor gives it to every client:
// the user's layout, kept up to date as it changes. It follows the seat through a registry and seat
// object of its own: a seat tells its capabilities once, as it is bound, and the connection's seat was
// bound (and its capabilities dispatched, unheard) before anything could listen to it.
class SeatKeymap final {
public:
    // The connection must outlive this.
    explicit SeatKeymap(WaylandConnection& connection);
    ~SeatKeymap();
    SeatKeymap(const SeatKeymap&) = delete;
    SeatKeymap& operator=(const SeatKeymap&) = delete;

    // The last keymap the seat's keyboard had, as XKB text; empty while the seat has shown none.
    const std::string& text() const { return text_; }
    // Counts the keymaps the seat has given, so that a user of the text knows when it changed.
    std::uint64_t generation() const { return generation_; }
    // The layout (group) the seat's keyboard is on, as last told.
    std::uint32_t layout() const { return layout_; }

private:
    static void global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                       std::uint32_t version);
    static void globalRemoved(void* data, wl_registry* registry, std::uint32_t name);
    static void capabilities(void* data, wl_seat* seat, std::uint32_t capabilities);
    static void keymap(void* data, wl_keyboard* keyboard, std::uint32_t format, std::int32_t fd,
                       std::uint32_t size);
    static void enter(void* data, wl_keyboard* keyboard, std::uint32_t serial, wl_surface* surface,
                      wl_array* keys);
    static void leave(void* data, wl_keyboard* keyboard, std::uint32_t serial, wl_surface* surface);
    static void key(void* data, wl_keyboard* keyboard, std::uint32_t serial, std::uint32_t time,
                    std::uint32_t key, std::uint32_t state);
    static void modifiers(void* data, wl_keyboard* keyboard, std::uint32_t serial, std::uint32_t depressed,
                          std::uint32_t latched, std::uint32_t locked, std::uint32_t group);

    wl_registry* registry_ = nullptr;
    wl_seat* seat_ = nullptr;
    wl_keyboard* keyboard_ = nullptr;
    std::string text_;
    std::uint64_t generation_ = 0;
    std::uint32_t layout_ = 0;
};

} // namespace driftmark
