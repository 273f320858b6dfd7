#include "fakes/FakeHotKeyService.h"

#include <algorithm>

namespace driftmark::test {

HotKeyRegistration FakeHotKeyService::registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                                     HotKeyId hotKeyId) {
    attempts.push_back({keyCode, modifiers, hotKeyId});
    if (const auto refusal = refused.find({keyCode, modifiers}); refusal != refused.end()) {
        return {refusal->second, std::nullopt};
    }
    const std::uint64_t handle = nextHandle_++;
    registered.emplace(handle, Registration{keyCode, modifiers, hotKeyId});
    return {0, handle};
}

void FakeHotKeyService::unregisterHotKey(std::uint64_t handle) {
    unregistered.push_back(handle);
    registered.erase(handle);
}

bool FakeHotKeyService::installEventHandler(HotKeyEventHandler& eventHandler) {
    if (!canInstallEventHandler) {
        return false;
    }
    handler = &eventHandler;
    return true;
}

void FakeHotKeyService::setDelivery(KeyEventDelivery newDelivery) {
    delivery = newDelivery;
    deliveryChanges.push_back(newDelivery);
}

bool FakeHotKeyService::press(std::uint32_t keyCode, std::uint32_t modifiers) {
    return send(HotKeyEvent::Kind::pressed, keyCode, modifiers);
}

bool FakeHotKeyService::release(std::uint32_t keyCode, std::uint32_t modifiers) {
    return send(HotKeyEvent::Kind::released, keyCode, modifiers);
}

std::optional<EventHandling> FakeHotKeyService::typeInMenu(RawKeyEvent event) {
    if (handler == nullptr || delivery != KeyEventDelivery::rawKeys) {
        return std::nullopt;
    }
    return handler->rawKeyEvent(event);
}

EventHandling FakeHotKeyService::deliver(const HotKeyEvent& event) {
    return handler->hotKeyEvent(event);
}

bool FakeHotKeyService::send(HotKeyEvent::Kind kind, std::uint32_t keyCode, std::uint32_t modifiers) {
    if (handler == nullptr || delivery != KeyEventDelivery::hotKeys) {
        return false;
    }
    const auto found = std::find_if(registered.begin(), registered.end(), [&](const auto& entry) {
        return entry.second.keyCode == keyCode && entry.second.modifiers == modifiers;
    });
    if (found == registered.end()) {
        return false;
    }
    return handler->hotKeyEvent({kind, found->second.hotKeyId}) == EventHandling::handled;
}

} // namespace driftmark::test
