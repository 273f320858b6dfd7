#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace driftmark {

// Another running application, as seen when it was frontmost.
struct RunningApplication {
    std::uint64_t handle = 0; // the platform's reference to it (a top-level window)
    std::optional<std::string> bundleIdentifier;
    std::optional<std::string> localizedName;

    bool operator==(const RunningApplication&) const = default;
};

class Workspace {
public:
    virtual ~Workspace() = default;
    virtual std::optional<RunningApplication> frontmostApplication() const = 0;
    // Brings the application to the front; true when the request was made.
    virtual bool activate(const RunningApplication& application) = 0;
    // This process's own identifier, compared with the frontmost application's.
    virtual std::optional<std::string> ownBundleIdentifier() const = 0;
    // The application that was active last, leaving out this process's own windows and the desktop's
    // panels; absent until one has been seen. Followed as the active window changes, so asking costs
    // nothing.
    virtual std::optional<RunningApplication> previousApplication() const = 0;
    // Calls `changed` on the main thread each time the desktop reports that the active window may have
    // changed, until a later call replaces it; an empty function stops the reports. One listener at a time.
    virtual void notifyOnActiveChange(std::function<void()> changed) = 0;
};

} // namespace driftmark
