#include "platform/linux/wayland/ForeignToplevelWorkspace.h"

#include "platform/linux/wayland/WaylandConnection.h"
#include "wlr-foreign-toplevel-management-unstable-v1-client-protocol.h"

#include <algorithm>
#include <span>
#include <wayland-client.h>

namespace driftmark {

namespace {

ForeignToplevelWorkspace* workspaceOf(void* data) {
    return static_cast<ForeignToplevelWorkspace*>(data);
}

} // namespace

// The compositor describes every existing window once the manager's binding reaches it; they arrive with
// the first dispatch, by when the listener is in place.
ForeignToplevelWorkspace::ForeignToplevelWorkspace(WaylandConnection& connection)
    : connection_(connection)
    , manager_(connection.foreignToplevelManager()) {
    static const zwlr_foreign_toplevel_manager_v1_listener listener = {
        .toplevel = &ForeignToplevelWorkspace::toplevelAdded,
        .finished = &ForeignToplevelWorkspace::finished,
    };
    if (manager_ != nullptr) {
        zwlr_foreign_toplevel_manager_v1_add_listener(manager_, &listener, this);
        connection_.flush();
    }
}

// The manager belongs to the connection and cannot lose its listener: its events from now on find no
// workspace, and windows it announces are let go at once.
ForeignToplevelWorkspace::~ForeignToplevelWorkspace() {
    if (manager_ != nullptr) {
        wl_proxy_set_user_data(reinterpret_cast<wl_proxy*>(manager_), nullptr);
    }
    for (const auto& toplevel : toplevels_) {
        zwlr_foreign_toplevel_handle_v1_destroy(toplevel.first);
    }
    connection_.flush();
}

void ForeignToplevelWorkspace::toplevelAdded(void* data, zwlr_foreign_toplevel_manager_v1*,
                                             zwlr_foreign_toplevel_handle_v1* handle) {
    static const zwlr_foreign_toplevel_handle_v1_listener listener = {
        .title = &ForeignToplevelWorkspace::titleChanged,
        .app_id = &ForeignToplevelWorkspace::appIdChanged,
        .output_enter = &ForeignToplevelWorkspace::outputChanged,
        .output_leave = &ForeignToplevelWorkspace::outputChanged,
        .state = &ForeignToplevelWorkspace::stateChanged,
        .done = &ForeignToplevelWorkspace::done,
        .closed = &ForeignToplevelWorkspace::closed,
        .parent = &ForeignToplevelWorkspace::parentChanged,
    };
    auto* self = workspaceOf(data);
    if (self == nullptr) {
        zwlr_foreign_toplevel_handle_v1_destroy(handle);
        return;
    }
    self->toplevels_.emplace(handle, Pending{.number = self->history_.added(), .details = {}});
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &listener, self);
}

// The windows announced so far keep telling of themselves; no new ones are heard of.
void ForeignToplevelWorkspace::finished(void* data, zwlr_foreign_toplevel_manager_v1*) {
    if (auto* self = workspaceOf(data)) {
        wl_proxy_set_user_data(reinterpret_cast<wl_proxy*>(self->manager_), nullptr);
        self->manager_ = nullptr;
    }
}

void ForeignToplevelWorkspace::titleChanged(void* data, zwlr_foreign_toplevel_handle_v1* handle,
                                            const char* title) {
    workspaceOf(data)->toplevels_.at(handle).details.title = title;
}

void ForeignToplevelWorkspace::appIdChanged(void* data, zwlr_foreign_toplevel_handle_v1* handle,
                                            const char* appId) {
    workspaceOf(data)->toplevels_.at(handle).details.appId = appId;
}

// Where a window is shown, and whose dialog it is, do not matter for pasting into it.
void ForeignToplevelWorkspace::outputChanged(void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {}

void ForeignToplevelWorkspace::parentChanged(void*, zwlr_foreign_toplevel_handle_v1*,
                                             zwlr_foreign_toplevel_handle_v1*) {}

void ForeignToplevelWorkspace::stateChanged(void* data, zwlr_foreign_toplevel_handle_v1* handle,
                                            wl_array* states) {
    const std::span<const std::uint32_t> values(static_cast<const std::uint32_t*>(states->data),
                                                states->size / sizeof(std::uint32_t));
    workspaceOf(data)->toplevels_.at(handle).details.activated =
        std::find(values.begin(), values.end(), ZWLR_FOREIGN_TOPLEVEL_HANDLE_V1_STATE_ACTIVATED) !=
        values.end();
}

void ForeignToplevelWorkspace::done(void* data, zwlr_foreign_toplevel_handle_v1* handle) {
    auto* self = workspaceOf(data);
    const Pending& pending = self->toplevels_.at(handle);
    const auto before = self->history_.frontmost();
    self->history_.committed(pending.number, pending.details);
    self->tellIfFrontmostChanged(before);
}

void ForeignToplevelWorkspace::closed(void* data, zwlr_foreign_toplevel_handle_v1* handle) {
    auto* self = workspaceOf(data);
    const auto found = self->toplevels_.find(handle);
    const auto before = self->history_.frontmost();
    self->history_.closed(found->second.number);
    self->toplevels_.erase(found);
    zwlr_foreign_toplevel_handle_v1_destroy(handle);
    self->tellIfFrontmostChanged(before);
}

void ForeignToplevelWorkspace::tellIfFrontmostChanged(const std::optional<RunningApplication>& before) const {
    const auto after = history_.frontmost();
    const auto handleOf = [](const std::optional<RunningApplication>& application) {
        return application ? application->handle : 0;
    };
    // A copy: the listener may replace itself.
    if (const std::function<void()> changed = activeChanged_;
        changed && handleOf(before) != handleOf(after)) {
        changed();
    }
}

std::optional<RunningApplication> ForeignToplevelWorkspace::frontmostApplication() const {
    return history_.frontmost();
}

std::optional<RunningApplication> ForeignToplevelWorkspace::previousApplication() const {
    return history_.previous();
}

bool ForeignToplevelWorkspace::activate(const RunningApplication& application) {
    const auto toplevel = std::find_if(toplevels_.begin(), toplevels_.end(), [&](const auto& entry) {
        return entry.second.number == application.handle;
    });
    if (toplevel == toplevels_.end() || connection_.seat() == nullptr || connection_.lost()) {
        return false;
    }
    zwlr_foreign_toplevel_handle_v1_activate(toplevel->first, connection_.seat());
    connection_.flush();
    return true;
}

void ForeignToplevelWorkspace::notifyOnActiveChange(std::function<void()> changed) {
    activeChanged_ = std::move(changed);
}

std::optional<std::string> ForeignToplevelWorkspace::ownBundleIdentifier() const {
    return std::string(applicationId);
}

} // namespace driftmark
