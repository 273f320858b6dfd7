#include "KeyboardShortcuts/CarbonKeyboardShortcuts.h"

#include "KeyboardShortcuts/ShortcutAcceptance.h"
#include "KeyboardShortcuts/ShortcutText.h"

#include <limits>
#include <ostream>

namespace driftmark::KeyboardShortcuts {

namespace {

constexpr std::uint32_t lastId = std::numeric_limits<std::uint32_t>::max();

bool fitsHotKeyField(std::int64_t value) {
    return value >= 0 && value <= std::int64_t{std::numeric_limits<std::uint32_t>::max()};
}

} // namespace

CarbonKeyboardShortcuts::CarbonKeyboardShortcuts(HotKeyService& service, const KeyboardLayout& layout,
                                                 const Switches& switches, std::ostream& standardOutput)
    : service_(service)
    , layout_(layout)
    , switches_(switches)
    , standardOutput_(standardOutput) {}

void CarbonKeyboardShortcuts::register_(const Shortcut& shortcut,
                                        std::function<void(const Shortcut&)> onKeyDown,
                                        std::function<void(const Shortcut&)> onKeyUp) {
    if (hotKeyId_ == lastId) {
        reportFailure(shortcut, invalidHotKeyStatus);
        return;
    }
    const std::uint32_t id = ++hotKeyId_;
    const auto handle = registerWithService(shortcut, id);
    if (!handle) {
        return;
    }
    hotKeys_.insert_or_assign(id, HotKey{shortcut, id, handle, std::move(onKeyDown), std::move(onKeyUp)});
    if (!eventHandlerInstalled_) {
        if (!service_.installEventHandler(*this)) {
            return;
        }
        eventHandlerInstalled_ = true;
        updateEventHandler();
    }
}

void CarbonKeyboardShortcuts::unregister(const Shortcut& shortcut) {
    std::erase_if(hotKeys_, [&](const auto& entry) {
        const HotKey& hotKey = entry.second;
        if (hotKey.shortcut != shortcut) {
            return false;
        }
        if (hotKey.carbonHotKey) {
            service_.unregisterHotKey(*hotKey.carbonHotKey);
        }
        return true;
    });
}

void CarbonKeyboardShortcuts::updateEventHandler() {
    if (!eventHandlerInstalled_) {
        return;
    }
    if (!switches_.isEnabled) {
        suspendAll();
        service_.setDelivery(KeyEventDelivery::none);
    } else if (switches_.isMenuOpen) {
        suspendAll();
        service_.setDelivery(KeyEventDelivery::rawKeys);
    } else {
        resumeAll();
        service_.setDelivery(KeyEventDelivery::hotKeys);
    }
}

EventHandling CarbonKeyboardShortcuts::hotKeyEvent(const HotKeyEvent& event) {
    if (event.hotKeyId.signature != hotKeySignature) {
        return EventHandling::notHandled;
    }
    const auto found = hotKeys_.find(event.hotKeyId.id);
    if (found == hotKeys_.end()) {
        return EventHandling::notHandled;
    }
    // Copies: the action may change the table.
    const HotKey hotKey = found->second;
    // Registered key codes fit the service's 32-bit field.
    const auto keyCode = static_cast<std::uint32_t>(hotKey.shortcut.carbonKeyCode);
    if (event.kind == HotKeyEvent::Kind::pressed) {
        // A menu may open before the key comes up; its release then arrives as a raw key.
        pressedKeys_.insert_or_assign(keyCode, hotKey.carbonHotKeyId);
        hotKey.onKeyDown(hotKey.shortcut);
    } else {
        pressedKeys_.erase(keyCode);
        hotKey.onKeyUp(hotKey.shortcut);
    }
    return EventHandling::handled;
}

EventHandling CarbonKeyboardShortcuts::rawKeyEvent(const RawKeyEvent& event) {
    if (event.kind == RawKeyEvent::Kind::up) {
        return rawKeyReleased(event.keyCode);
    }
    // A new press of the key ends whatever its last press was.
    pressedKeys_.erase(event.keyCode);
    // Caps Lock and the like must not keep a key from matching.
    const std::int64_t modifiers = normalizedCarbonModifiers(event.modifiers);
    for (const auto& [id, entry] : hotKeys_) {
        if (entry.shortcut.carbonKeyCode == event.keyCode && entry.shortcut.carbonModifiers == modifiers) {
            const HotKey hotKey = entry;
            pressedKeys_.insert_or_assign(event.keyCode, hotKey.carbonHotKeyId);
            hotKey.onKeyDown(hotKey.shortcut);
            return EventHandling::handled;
        }
    }
    return EventHandling::notHandled;
}

EventHandling CarbonKeyboardShortcuts::rawKeyReleased(std::uint32_t keyCode) {
    // Only the release of a press that was taken is taken, so the menu sees every key it saw go down come
    // up again; the modifiers held now say nothing.
    const auto pressed = pressedKeys_.find(keyCode);
    if (pressed == pressedKeys_.end()) {
        return EventHandling::notHandled;
    }
    const std::uint32_t id = pressed->second;
    pressedKeys_.erase(pressed);
    // A hot key removed since its press runs nothing, but the release stays away from the menu too.
    if (const auto found = hotKeys_.find(id); found != hotKeys_.end()) {
        const HotKey hotKey = found->second;
        hotKey.onKeyUp(hotKey.shortcut);
    }
    return EventHandling::handled;
}

std::optional<std::uint64_t> CarbonKeyboardShortcuts::registerWithService(const Shortcut& shortcut,
                                                                          std::uint32_t id) {
    // Values that do not fit the service's fields are refused rather than truncated into another key; a
    // shortcut without a real modifier would take a plain key away from every other application.
    if (!fitsHotKeyField(shortcut.carbonKeyCode) || !fitsHotKeyField(shortcut.carbonModifiers) ||
        !recorderAccepts(shortcut)) {
        reportFailure(shortcut, invalidHotKeyStatus);
        return std::nullopt;
    }
    const HotKeyRegistration registration =
        service_.registerHotKey(static_cast<std::uint32_t>(shortcut.carbonKeyCode),
                                static_cast<std::uint32_t>(shortcut.carbonModifiers), {hotKeySignature, id});
    if (registration.status != 0 || !registration.handle) {
        reportFailure(shortcut, registration.status);
        return std::nullopt;
    }
    return registration.handle;
}

void CarbonKeyboardShortcuts::reportFailure(const Shortcut& shortcut, std::int32_t status) {
    reportRegistrationFailure(standardOutput_, shortcut, layout_, status);
}

void CarbonKeyboardShortcuts::reportRegistrationFailure(std::ostream& output, const Shortcut& shortcut,
                                                        const KeyboardLayout& layout, std::int32_t status) {
    output << "Error registering hotkey " << presentableDescription(shortcut, layout) << ": " << status
           << std::endl;
}

void CarbonKeyboardShortcuts::suspendAll() {
    for (auto& [id, hotKey] : hotKeys_) {
        if (hotKey.carbonHotKey) {
            service_.unregisterHotKey(*hotKey.carbonHotKey);
            hotKey.carbonHotKey.reset();
        }
    }
}

void CarbonKeyboardShortcuts::resumeAll() {
    for (auto entry = hotKeys_.begin(); entry != hotKeys_.end();) {
        HotKey& hotKey = entry->second;
        if (!hotKey.carbonHotKey) {
            hotKey.carbonHotKey = registerWithService(hotKey.shortcut, hotKey.carbonHotKeyId);
            if (!hotKey.carbonHotKey) {
                entry = hotKeys_.erase(entry);
                continue;
            }
        }
        ++entry;
    }
}

} // namespace driftmark::KeyboardShortcuts
