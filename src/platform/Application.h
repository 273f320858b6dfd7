#pragma once

#include <optional>
#include <string>

namespace driftmark {

// The running application as the desktop sees it.
class Application {
public:
    virtual ~Application() = default;
    // No dock entry, no application menu; windows can still be shown.
    virtual void setAccessoryActivationPolicy() = 0;
    virtual void terminate() = 0;
    virtual std::optional<std::string> bundleIdentifier() const = 0;
    virtual std::string processName() const = 0;
};

} // namespace driftmark
