#pragma once

#include "platform/HotKeyService.h"
#include "platform/linux/keys/HotKeyDelivery.h"

#include <cstdint>

namespace driftmark {

// Hot keys where the desktop gives Driftmark no global ones (a Wayland desktop without a global-shortcuts
// portal): registrations are taken, as the shortcuts stay the user's choice, and never fire; keys typed
// while one of Driftmark's own menus is open still arrive, as raw key events.
class MenuOnlyHotKeyService final : public HotKeyService {
public:
    HotKeyRegistration registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                      HotKeyId hotKeyId) override;
    void unregisterHotKey(std::uint64_t handle) override;
    bool installEventHandler(HotKeyEventHandler& handler) override;
    void setDelivery(KeyEventDelivery delivery) override;

private:
    std::uint64_t nextHandle_ = 1;
    HotKeyDelivery delivery_;
};

} // namespace driftmark
