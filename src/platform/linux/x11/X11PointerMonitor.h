#pragma once

#include "platform/PointerMonitor.h"

#include <map>

namespace driftmark {

// Pointer movement on X11. Without grabbing the pointer, the only moves this process sees are those over
// its own tray icons; the status bar reports them through pointerMoved(). Positions are in root-window
// pixels, as the icons' screen frames are.
class X11PointerMonitor final : public PointerMonitor {
public:
    std::optional<Handle> addGlobalMouseMovedMonitor(std::function<void()> handler) override;
    void removeMonitor(Handle handle) override;
    Point mouseLocation() const override;

    // Runs the registered handlers. One added by a handler runs from the next move on; one removed by an
    // earlier handler of the same pass does not run.
    void pointerMoved();

private:
    std::map<Handle, std::function<void()>> handlers_;
    Handle nextHandle_ = 1;
};

} // namespace driftmark
