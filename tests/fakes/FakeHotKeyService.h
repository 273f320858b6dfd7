#pragma once

#include "platform/HotKeyService.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace driftmark::test {

// Keeps the combinations registered with it and lets the test press them, like a desktop that delivers
// only what the current delivery mode lets through.
class FakeHotKeyService final : public HotKeyService {
public:
    struct Registration {
        std::uint32_t keyCode = 0;
        std::uint32_t modifiers = 0;
        HotKeyId hotKeyId;
    };

    HotKeyRegistration registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                      HotKeyId hotKeyId) override;
    void unregisterHotKey(std::uint64_t handle) override;
    bool installEventHandler(HotKeyEventHandler& handler) override;
    void setDelivery(KeyEventDelivery delivery) override;

    // Goes through the installed handler when the delivery lets hot-key events through and the combination
    // is registered; false when nothing was delivered.
    bool press(std::uint32_t keyCode, std::uint32_t modifiers);
    bool release(std::uint32_t keyCode, std::uint32_t modifiers);
    // A key typed into an open menu. Absent when raw keys are not delivered (the menu gets the key).
    std::optional<EventHandling> typeInMenu(RawKeyEvent event);
    // Hands any event to the handler, as a confused platform might.
    EventHandling deliver(const HotKeyEvent& event);

    // The live registrations by handle.
    std::map<std::uint64_t, Registration> registered;
    // Every registration attempt in order, refused ones included.
    std::vector<Registration> attempts;
    std::vector<std::uint64_t> unregistered;
    std::vector<KeyEventDelivery> deliveryChanges;
    KeyEventDelivery delivery = KeyEventDelivery::none;
    HotKeyEventHandler* handler = nullptr;
    // Combinations refused with the given status, as if another program held them.
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::int32_t> refused;
    bool canInstallEventHandler = true;

private:
    bool send(HotKeyEvent::Kind kind, std::uint32_t keyCode, std::uint32_t modifiers);

    std::uint64_t nextHandle_ = 100;
};

} // namespace driftmark::test
