#pragma once

#include "platform/SystemLog.h"
#include "platform/Workspace.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace driftmark {

// What the compositor tells of one toplevel window, as of its last completed batch of changes.
struct ToplevelDetails {
    std::string appId;
    std::string title;
    bool activated = false;
};

// The compositor's toplevel windows, each under a number of its own that is never given again, and the
// order in which they were activated: the frontmost one is the one activated last that still is, the
// previous one the one activated last that is not Driftmark's. Panels need no rule of their own: on the
// compositors that list toplevels they are layer surfaces, which are never listed.
class ToplevelFocusHistory {
public:
    // A new window, not yet described; its number.
    std::uint64_t added() {
        const std::uint64_t number = nextNumber_++;
        toplevels_.emplace(number, Toplevel{});
        return number;
    }

    void committed(std::uint64_t number, const ToplevelDetails& details) {
        const auto found = toplevels_.find(number);
        if (found == toplevels_.end()) {
            return;
        }
        Toplevel& toplevel = found->second;
        const bool activatedNow = details.activated && !toplevel.details.activated;
        toplevel.details = details;
        if (!activatedNow) {
            return;
        }
        toplevel.activation = ++activations_;
        if (!isOwn(details.appId)) {
            previous_ = number;
        }
    }

    // The window is gone; so is the previous application when it was this one.
    void closed(std::uint64_t number) {
        toplevels_.erase(number);
        if (previous_ == number) {
            previous_.reset();
        }
    }

    // Several windows may be active at once, one per seat; the one activated last is in front.
    std::optional<RunningApplication> frontmost() const {
        const Toplevel* front = nullptr;
        std::uint64_t number = 0;
        for (const auto& [candidate, toplevel] : toplevels_) {
            if (toplevel.details.activated && (front == nullptr || toplevel.activation > front->activation)) {
                front = &toplevel;
                number = candidate;
            }
        }
        if (front == nullptr) {
            return std::nullopt;
        }
        return describe(number, front->details);
    }

    std::optional<RunningApplication> previous() const {
        if (!previous_) {
            return std::nullopt;
        }
        return describe(*previous_, toplevels_.at(*previous_).details);
    }

    // Qt names Driftmark's Wayland windows after its desktop file; XWayland's windows are named by their X
    // class, which Qt takes from the program's name.
    static bool isOwn(std::string_view appId) {
        return appId == applicationId || appId == "driftmark-menubar";
    }

private:
    struct Toplevel {
        ToplevelDetails details;
        std::uint64_t activation = 0; // when it was activated last, in activations
    };

    // A window of Driftmark's carries Driftmark's identifier, whatever its app_id, as on X11.
    static RunningApplication describe(std::uint64_t number, const ToplevelDetails& details) {
        RunningApplication application;
        application.handle = number;
        if (isOwn(details.appId)) {
            application.bundleIdentifier = std::string(applicationId);
        } else if (!details.appId.empty()) {
            application.bundleIdentifier = details.appId;
        }
        if (!details.title.empty()) {
            application.localizedName = details.title;
        } else if (!details.appId.empty()) {
            application.localizedName = details.appId;
        }
        return application;
    }

    std::map<std::uint64_t, Toplevel> toplevels_;
    std::uint64_t nextNumber_ = 1;
    std::uint64_t activations_ = 0;
    std::optional<std::uint64_t> previous_;
};

} // namespace driftmark
