#pragma once

#include "platform/Clipboard.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>
#include <xcb/xcb.h>

class QSocketNotifier;

namespace driftmark {

// Reads another program's selection (CLIPBOARD, PRIMARY) the ICCCM way, on an X connection of its own:
// TARGETS first, then every content type at once, each converted into its own property of a window made for
// the read, large ones in increments (INCR). The answers arrive as events that the event loop hands over as
// they come, so an owner that never answers costs nothing but its own types; how long to wait for it is
// the caller's decision. Round trips go to the X server only. The connection is opened by the first read
// and kept for the next ones.
class X11SelectionReader final {
public:
    // `selection` is the selection's atom name.
    explicit X11SelectionReader(std::string selection);
    ~X11SelectionReader();
    X11SelectionReader(const X11SelectionReader&) = delete;
    X11SelectionReader& operator=(const X11SelectionReader&) = delete;

    // Stops the read in progress and starts another. `completion` runs once, on the main thread, when the
    // owner has answered everything or the read is stopped, possibly before this returns; without an X
    // display it runs at once with nothing listed.
    void start(std::function<void(ClipboardReading)> completion);
    // Ends the read in progress, if any: its completion gets what has come so far.
    void stop();

private:
    // One type asked of the owner, and the bytes it has sent so far.
    struct Transfer {
        Transfer(std::string name, xcb_atom_t asked);

        std::string type;
        xcb_atom_t target = XCB_NONE;
        xcb_atom_t property = XCB_NONE;
        bool latin1 = false;
        bool incremental = false;
        bool done = false;
        std::uint8_t format = 0;
        Bytes bytes;
    };

    bool connect();
    void disconnect();
    xcb_atom_t intern(std::string_view name);
    const std::vector<xcb_atom_t>& properties(std::size_t count);
    std::vector<std::string> atomNames(const std::vector<xcb_atom_t>& atoms);
    void request(const Transfer& transfer);
    void processEvents();
    void selectionNotified(const xcb_selection_notify_event_t& event);
    void propertyChanged(const xcb_property_notify_event_t& event);
    void readProperty(Transfer& transfer);
    void progressed();
    void list(Transfer listing);
    void finish(bool stopped);

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = XCB_NONE;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::string selectionName_;
    xcb_atom_t selection_ = XCB_NONE;
    xcb_atom_t targets_ = XCB_NONE;
    xcb_atom_t incr_ = XCB_NONE;
    std::map<xcb_atom_t, std::string> names_;
    std::vector<xcb_atom_t> propertyAtoms_;

    // The read in progress: its window (none between reads), and its transfers: TARGETS alone until the
    // owner has listed its types, then one per content type.
    std::function<void(ClipboardReading)> completion_;
    xcb_window_t window_ = XCB_NONE;
    bool listed_ = false;
    std::vector<Transfer> transfers_;
};

} // namespace driftmark
