#pragma once

#include "platform/linux/DisplayServerChoice.h"

#include <functional>
#include <optional>
#include <string>

namespace driftmark {

// The display server Driftmark runs on in this session, chosen before Qt starts, and why Driftmark cannot
// show anything there, if it cannot.
class SessionDisplay final {
public:
    // Reads DRIFTMARK_DISPLAY_SERVER, DISPLAY and WAYLAND_DISPLAY, and asks the compositor what it offers
    // when the choice depends on it. `warn` hears of a DRIFTMARK_DISPLAY_SERVER that names neither server.
    static SessionDisplay choose(const std::function<void(const std::string&)>& warn);

    DisplayServer server() const { return server_; }
    const std::optional<std::string>& problem() const { return problem_; }

private:
    static std::optional<std::string> x11Problem();

    DisplayServer server_ = DisplayServer::x11;
    std::optional<std::string> problem_;
};

} // namespace driftmark
