#include "platform/linux/wayland/WaylandConnection.h"

#include "fake-input-client-protocol.h"
#include "virtual-keyboard-unstable-v1-client-protocol.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"
#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

#include <QObject>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <wayland-client.h>

namespace driftmark {

namespace {

// The newest versions whose events Driftmark handles. The seat is only named in requests, so its first
// version does.
constexpr std::uint32_t newestSeatVersion = 1;
constexpr std::uint32_t newestDataControlVersion = 2;
constexpr std::uint32_t newestForeignToplevelVersion = 3;
// Fake input types keys from this version on; an older one is of no use to Driftmark.
constexpr std::uint32_t fakeInputKeysVersion = 4;

} // namespace

std::unique_ptr<WaylandConnection> WaylandConnection::open(std::function<void(const std::string&)> warn) {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (name == nullptr || *name == '\0') {
        return nullptr;
    }
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        return nullptr;
    }
    std::unique_ptr<WaylandConnection> connection(new WaylandConnection(display, std::move(warn)));
    if (!connection->start()) {
        return nullptr;
    }
    return connection;
}

WaylandConnection::WaylandConnection(wl_display* display, std::function<void(const std::string&)> warn)
    : display_(display)
    , warn_(std::move(warn)) {}

WaylandConnection::~WaylandConnection() {
    readable_.reset();
    writable_.reset();
    if (dataControl_ != nullptr) {
        zwlr_data_control_manager_v1_destroy(dataControl_);
    }
    if (foreignToplevels_ != nullptr) {
        zwlr_foreign_toplevel_manager_v1_destroy(foreignToplevels_);
    }
    if (virtualKeyboard_ != nullptr) {
        zwp_virtual_keyboard_manager_v1_destroy(virtualKeyboard_);
    }
    if (fakeInput_ != nullptr) {
        org_kde_kwin_fake_input_destroy(fakeInput_);
    }
    if (seat_ != nullptr) {
        wl_seat_destroy(seat_);
    }
    if (registry_ != nullptr) {
        wl_registry_destroy(registry_);
    }
    wl_display_disconnect(display_);
}

// One round trip brings every global announced so far; the registry stays for those that come later.
bool WaylandConnection::start() {
    static const wl_registry_listener listener = {
        .global = &WaylandConnection::global,
        .global_remove = &WaylandConnection::globalRemoved,
    };
    registry_ = wl_display_get_registry(display_);
    wl_registry_add_listener(registry_, &listener, this);
    if (wl_display_roundtrip(display_) < 0) {
        return false;
    }
    const int fd = wl_display_get_fd(display_);
    readable_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(readable_.get(), &QSocketNotifier::activated, readable_.get(), [this] { dispatch(); });
    writable_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
    writable_->setEnabled(false);
    QObject::connect(writable_.get(), &QSocketNotifier::activated, writable_.get(), [this] { flush(); });
    return true;
}

void WaylandConnection::global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                               std::uint32_t version) {
    auto* self = static_cast<WaylandConnection*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && self->seat_ == nullptr) {
        self->seat_ = static_cast<wl_seat*>(
            wl_registry_bind(registry, name, &wl_seat_interface, std::min(version, newestSeatVersion)));
    } else if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0 &&
               self->dataControl_ == nullptr) {
        self->dataControlVersion_ = std::min(version, newestDataControlVersion);
        self->dataControl_ = static_cast<zwlr_data_control_manager_v1*>(wl_registry_bind(
            registry, name, &zwlr_data_control_manager_v1_interface, self->dataControlVersion_));
    } else if (std::strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) == 0 &&
               self->foreignToplevels_ == nullptr) {
        self->foreignToplevels_ = static_cast<zwlr_foreign_toplevel_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_foreign_toplevel_manager_v1_interface,
                             std::min(version, newestForeignToplevelVersion)));
    } else if (std::strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0 &&
               self->virtualKeyboard_ == nullptr) {
        self->virtualKeyboard_ = static_cast<zwp_virtual_keyboard_manager_v1*>(
            wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
    } else if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 &&
               self->fakeInput_ == nullptr && version >= fakeInputKeysVersion) {
        self->fakeInput_ = static_cast<org_kde_kwin_fake_input*>(
            wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, fakeInputKeysVersion));
    }
}

// Neither a seat nor the manager goes away on the compositors that offer data control while they run.
void WaylandConnection::globalRemoved(void*, wl_registry*, std::uint32_t) {}

void WaylandConnection::flush() {
    if (lost_) {
        return;
    }
    if (wl_display_flush(display_) >= 0) {
        writable_->setEnabled(false);
    } else if (errno == EAGAIN) {
        writable_->setEnabled(true);
    } else {
        connectionLost();
    }
}

// The socket is readable. Events that an earlier read queued go out first, since a read cannot be
// prepared while any wait; the read itself never blocks.
void WaylandConnection::dispatch() {
    if (lost_) {
        return;
    }
    while (wl_display_prepare_read(display_) != 0) {
        if (wl_display_dispatch_pending(display_) < 0) {
            connectionLost();
            return;
        }
    }
    if (wl_display_read_events(display_) < 0 || wl_display_dispatch_pending(display_) < 0) {
        connectionLost();
        return;
    }
    flush();
}

void WaylandConnection::connectionLost() {
    if (lost_) {
        return;
    }
    lost_ = true;
    const int error = wl_display_get_error(display_);
    readable_->setEnabled(false);
    writable_->setEnabled(false);
    if (warn_) {
        warn_("Lost the connection to the Wayland compositor (" +
              std::string(std::strerror(error != 0 ? error : EPIPE)) +
              "); the clipboard, Smart Paste's keystrokes and the previous window are out of reach until "
              "Driftmark starts again");
    }
}

} // namespace driftmark
