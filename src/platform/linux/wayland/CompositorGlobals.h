#pragma once

#include <optional>
#include <string>
#include <vector>

namespace driftmark {

// The interfaces that the compositor named by WAYLAND_DISPLAY offers, asked over a connection of their own
// before anything else connects: the choice of display server depends on them.
class CompositorGlobals final {
public:
    // Absent when WAYLAND_DISPLAY names no compositor that answers; `reason` then says why.
    static std::optional<CompositorGlobals> ask(std::string& reason);

    bool offers(const std::string& interface) const;

private:
    std::vector<std::string> interfaces_;
};

} // namespace driftmark
