#pragma once

#include "platform/Workspace.h"
#include "platform/linux/wayland/ToplevelFocusHistory.h"

#include <cstdint>
#include <functional>
#include <map>

struct wl_array;
struct wl_output;
struct zwlr_foreign_toplevel_handle_v1;
struct zwlr_foreign_toplevel_manager_v1;

namespace driftmark {

class WaylandConnection;

// Applications as a wlroots-based compositor lists its toplevel windows, over the foreign-toplevel
// protocol on Driftmark's own Wayland connection: the frontmost application is the activated window,
// named by its app_id and title. The previous application follows each window's activation as the
// compositor reports it, skipping Driftmark's own windows, and a listener hears when the frontmost one
// changes; activating one asks the compositor to focus it for the connection's seat.
class ForeignToplevelWorkspace final : public Workspace {
public:
    // The connection must offer the foreign-toplevel manager, and outlive the workspace.
    explicit ForeignToplevelWorkspace(WaylandConnection& connection);
    ~ForeignToplevelWorkspace() override;
    ForeignToplevelWorkspace(const ForeignToplevelWorkspace&) = delete;
    ForeignToplevelWorkspace& operator=(const ForeignToplevelWorkspace&) = delete;

    std::optional<RunningApplication> frontmostApplication() const override;
    // False when the window has closed, or there is no seat or compositor to ask.
    bool activate(const RunningApplication& application) override;
    std::optional<std::string> ownBundleIdentifier() const override;
    std::optional<RunningApplication> previousApplication() const override;
    void notifyOnActiveChange(std::function<void()> changed) override;

private:
    // A window's number, and its details as changed since its last done event.
    struct Pending {
        std::uint64_t number = 0;
        ToplevelDetails details;
    };

    static void toplevelAdded(void* data, zwlr_foreign_toplevel_manager_v1* manager,
                              zwlr_foreign_toplevel_handle_v1* handle);
    static void finished(void* data, zwlr_foreign_toplevel_manager_v1* manager);
    static void titleChanged(void* data, zwlr_foreign_toplevel_handle_v1* handle, const char* title);
    static void appIdChanged(void* data, zwlr_foreign_toplevel_handle_v1* handle, const char* appId);
    static void outputChanged(void* data, zwlr_foreign_toplevel_handle_v1* handle, wl_output* output);
    static void stateChanged(void* data, zwlr_foreign_toplevel_handle_v1* handle, wl_array* states);
    static void done(void* data, zwlr_foreign_toplevel_handle_v1* handle);
    static void closed(void* data, zwlr_foreign_toplevel_handle_v1* handle);
    static void parentChanged(void* data, zwlr_foreign_toplevel_handle_v1* handle,
                              zwlr_foreign_toplevel_handle_v1* parent);
    // Tells the listener when the frontmost window is no longer the one given.
    void tellIfFrontmostChanged(const std::optional<RunningApplication>& before) const;

    WaylandConnection& connection_;
    zwlr_foreign_toplevel_manager_v1* manager_;
    ToplevelFocusHistory history_;
    std::map<zwlr_foreign_toplevel_handle_v1*, Pending> toplevels_;
    std::function<void()> activeChanged_;
};

} // namespace driftmark
