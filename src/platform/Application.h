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
    // Starts a new process of this program with the same arguments, detached; neither waits for it nor
    // checks how it went. The new process waits for this one to quit before it takes over.
    virtual void relaunch() = 0;
    virtual std::optional<std::string> bundleIdentifier() const = 0;
    virtual std::string processName() const = 0;
};

} // namespace driftmark
