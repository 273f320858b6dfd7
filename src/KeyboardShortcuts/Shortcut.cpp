#include "KeyboardShortcuts/Shortcut.h"

#include "platform/LocalEventMonitorService.h"

namespace driftmark::KeyboardShortcuts {

Shortcut::Shortcut(std::int64_t keyCode, std::int64_t modifiers)
    : carbonKeyCode(keyCode)
    , carbonModifiers(normalizedCarbonModifiers(modifiers)) {}

Shortcut::Shortcut(Key key, ModifierFlags modifiers)
    : Shortcut(key.rawValue, carbon(modifiers)) {}

Shortcut::Shortcut(Unchanged, std::int64_t keyCode, std::int64_t modifiers)
    : carbonKeyCode(keyCode)
    , carbonModifiers(modifiers) {}

Shortcut Shortcut::asStored(std::int64_t keyCode, std::int64_t modifiers) {
    return Shortcut(Unchanged{}, keyCode, modifiers);
}

std::optional<Shortcut> Shortcut::fromEvent(const LocalEvent& event) {
    if (event.type != LocalEvent::keyDown && event.type != LocalEvent::keyUp) {
        return std::nullopt;
    }
    const ModifierFlags flags = ModifierFlags{event.modifierFlags}.without(ModifierFlags::function);
    return Shortcut(Key{event.keyCode}, flags);
}

} // namespace driftmark::KeyboardShortcuts

std::size_t std::hash<driftmark::KeyboardShortcuts::Shortcut>::operator()(
    const driftmark::KeyboardShortcuts::Shortcut& shortcut) const noexcept {
    const std::size_t keyCode = std::hash<std::int64_t>{}(shortcut.carbonKeyCode);
    const std::size_t modifiers = std::hash<std::int64_t>{}(shortcut.carbonModifiers);
    return keyCode ^ (modifiers + 0x9e3779b97f4a7c15ULL + (keyCode << 6) + (keyCode >> 2));
}
