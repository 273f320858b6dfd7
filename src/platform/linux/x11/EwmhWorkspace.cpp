#include "platform/linux/x11/EwmhWorkspace.h"

#include "platform/SystemLog.h"
#include "platform/linux/x11/X11Context.h"
#include "platform/linux/x11/X11ServerTime.h"
#include "platform/linux/x11/XcbReply.h"

#include <QCoreApplication>
#include <QString>
#include <unistd.h>
#include <xcb/xcb_ewmh.h>
#include <xcb/xcb_icccm.h>

namespace driftmark {

struct EwmhWorkspace::State {
    explicit State(const X11Context& x11)
        : connection(x11.connection())
        , ewmh(*x11.ewmh())
        , screen(x11.screenNumber())
        , root(x11.root())
        , serverTime(x11) {}

    xcb_connection_t* connection;
    xcb_ewmh_connection_t& ewmh;
    int screen;
    xcb_window_t root;
    bool watching = false;
    X11ServerTime serverTime;
    std::optional<RunningApplication> previous;

    std::optional<std::string> windowClass(xcb_window_t window) {
        xcb_icccm_get_wm_class_reply_t reply;
        if (xcb_icccm_get_wm_class_reply(connection, xcb_icccm_get_wm_class(connection, window), &reply,
                                         nullptr) == 0) {
            return std::nullopt;
        }
        std::optional<std::string> name;
        if (reply.class_name != nullptr && reply.class_name[0] != '\0') {
            name = reply.class_name;
        }
        xcb_icccm_get_wm_class_reply_wipe(&reply);
        return name;
    }

    std::optional<std::string> windowTitle(xcb_window_t window) {
        xcb_ewmh_get_utf8_strings_reply_t reply;
        if (xcb_ewmh_get_wm_name_reply(&ewmh, xcb_ewmh_get_wm_name(&ewmh, window), &reply, nullptr) == 0) {
            return std::nullopt;
        }
        std::optional<std::string> title;
        if (reply.strings_len > 0) {
            title = std::string(reply.strings, reply.strings_len);
        }
        xcb_ewmh_get_utf8_strings_reply_wipe(&reply);
        return title;
    }

    // The ICCCM title of programs that set no _NET_WM_NAME; COMPOUND_TEXT titles are not decoded.
    std::optional<std::string> legacyTitle(xcb_window_t window) {
        xcb_icccm_get_text_property_reply_t reply;
        if (xcb_icccm_get_wm_name_reply(connection, xcb_icccm_get_wm_name(connection, window), &reply,
                                        nullptr) == 0) {
            return std::nullopt;
        }
        std::optional<std::string> title;
        if (reply.format == 8 && reply.name_len > 0) {
            if (reply.encoding == XCB_ATOM_STRING) {
                title = QString::fromLatin1(reply.name, static_cast<qsizetype>(reply.name_len)).toStdString();
            } else if (reply.encoding == ewmh.UTF8_STRING) {
                title = std::string(reply.name, reply.name_len);
            }
        }
        xcb_icccm_get_text_property_reply_wipe(&reply);
        return title;
    }

    bool belongsToThisProcess(xcb_window_t window) {
        std::uint32_t pid = 0;
        return xcb_ewmh_get_wm_pid_reply(&ewmh, xcb_ewmh_get_wm_pid(&ewmh, window), &pid, nullptr) != 0 &&
               pid == static_cast<std::uint32_t>(::getpid());
    }

    // Panels and the desktop take the focus now and then (a click on a panel, say); nobody pastes there.
    bool isPanelOrDesktop(xcb_window_t window) {
        xcb_ewmh_get_atoms_reply_t types;
        if (xcb_ewmh_get_wm_window_type_reply(&ewmh, xcb_ewmh_get_wm_window_type(&ewmh, window), &types,
                                              nullptr) == 0) {
            return false;
        }
        bool skipped = false;
        for (std::uint32_t index = 0; index < types.atoms_len; ++index) {
            skipped = skipped || types.atoms[index] == ewmh._NET_WM_WINDOW_TYPE_DOCK ||
                      types.atoms[index] == ewmh._NET_WM_WINDOW_TYPE_DESKTOP;
        }
        xcb_ewmh_get_atoms_reply_wipe(&types);
        return skipped;
    }

    std::optional<xcb_window_t> activeWindow() {
        xcb_window_t window = XCB_NONE;
        if (xcb_ewmh_get_active_window_reply(&ewmh, xcb_ewmh_get_active_window(&ewmh, screen), &window,
                                             nullptr) == 0 ||
            window == XCB_NONE) {
            return std::nullopt;
        }
        return window;
    }

    RunningApplication describe(xcb_window_t window) {
        RunningApplication application;
        application.handle = window;
        application.bundleIdentifier = windowClass(window);
        application.localizedName = application.bundleIdentifier;
        if (!application.localizedName) {
            application.localizedName = windowTitle(window);
        }
        if (!application.localizedName) {
            application.localizedName = legacyTitle(window);
        }
        if (belongsToThisProcess(window)) {
            application.bundleIdentifier = std::string(applicationId);
        }
        return application;
    }

    bool watchRoot() {
        const XcbReply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
            connection, xcb_get_window_attributes(connection, root), nullptr));
        if (attributes == nullptr) {
            return false;
        }
        // Qt listens on the root window too, on the same connection: its mask stays.
        const std::uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
        return true;
    }

    bool exists(xcb_window_t window) {
        const XcbReply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
            connection, xcb_get_window_attributes(connection, window), nullptr));
        return attributes != nullptr;
    }
};

EwmhWorkspace::EwmhWorkspace(const X11Context& x11) {
    if (x11.ewmh() == nullptr) {
        return;
    }
    state_ = std::make_unique<State>(x11);
    if (state_->watchRoot()) {
        state_->watching = true;
        QCoreApplication::instance()->installNativeEventFilter(this);
        activeWindowChanged();
    }
}

EwmhWorkspace::~EwmhWorkspace() {
    if (state_ && state_->watching && QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

bool EwmhWorkspace::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & ~0x80) != XCB_PROPERTY_NOTIFY) {
        return false;
    }
    const auto* property = reinterpret_cast<const xcb_property_notify_event_t*>(event);
    if (property->window == state_->root && property->atom == state_->ewmh._NET_ACTIVE_WINDOW) {
        activeWindowChanged();
        // A copy: the listener may replace itself.
        if (const std::function<void()> changed = activeChanged_) {
            changed();
        }
    }
    // Qt sees the event too.
    return false;
}

void EwmhWorkspace::activeWindowChanged() {
    const std::optional<xcb_window_t> window = state_->activeWindow();
    if (!window || state_->belongsToThisProcess(*window) || state_->isPanelOrDesktop(*window)) {
        return;
    }
    state_->previous = state_->describe(*window);
}

void EwmhWorkspace::notifyOnActiveChange(std::function<void()> changed) {
    activeChanged_ = std::move(changed);
}

std::optional<RunningApplication> EwmhWorkspace::previousApplication() const {
    return state_ ? state_->previous : std::nullopt;
}

std::optional<RunningApplication> EwmhWorkspace::frontmostApplication() const {
    if (!state_) {
        return std::nullopt;
    }
    const std::optional<xcb_window_t> window = state_->activeWindow();
    if (!window) {
        return std::nullopt;
    }
    return state_->describe(*window);
}

bool EwmhWorkspace::activate(const RunningApplication& application) {
    const auto window = static_cast<xcb_window_t>(application.handle);
    if (!state_ || window == XCB_NONE || application.handle != window || !state_->exists(window)) {
        return false;
    }
    // Window managers may take a request without a real server time for focus stealing and ignore it;
    // one with a real time from a pager is honoured.
    const std::uint32_t time = state_->serverTime.now().value_or(XCB_CURRENT_TIME);
    xcb_ewmh_request_change_active_window(&state_->ewmh, state_->screen, window,
                                          XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER, time, XCB_NONE);
    xcb_flush(state_->connection);
    return true;
}

std::optional<std::string> EwmhWorkspace::ownBundleIdentifier() const {
    return std::string(applicationId);
}

} // namespace driftmark
