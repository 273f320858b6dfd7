#pragma once

#include <cstdint>
#include <functional>

namespace driftmark {

// Tells when one of the application's own menus opens and closes. While a menu is open it holds the
// keyboard, so global hot keys must then be taken from the keys the menu receives.
class MenuTracking {
public:
    enum class Phase { didBegin, didEnd };
    using ObserverHandle = std::uint64_t;

    virtual ~MenuTracking() = default;
    // The handler runs on the main thread each time a menu enters the phase: didBegin before the menu takes
    // the keyboard, didEnd once it has let go.
    virtual ObserverHandle addObserver(Phase phase, std::function<void()> handler) = 0;
    virtual void removeObserver(ObserverHandle handle) = 0;
};

} // namespace driftmark
