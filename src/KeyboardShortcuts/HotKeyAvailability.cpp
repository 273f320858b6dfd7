#include "KeyboardShortcuts/HotKeyAvailability.h"

#include <limits>

namespace driftmark::KeyboardShortcuts {

namespace {

constexpr bool fitsRegistration(std::int64_t value) {
    return value >= 0 && value <= std::numeric_limits<std::uint32_t>::max();
}

} // namespace

std::optional<std::int32_t> hotKeyRefusal(HotKeyService& service, const Shortcut& shortcut) {
    // The module refuses such numbers itself before they reach the service; nothing to ask.
    if (!fitsRegistration(shortcut.carbonKeyCode) || !fitsRegistration(shortcut.carbonModifiers)) {
        return std::nullopt;
    }
    const HotKeyRegistration trial = service.registerHotKey(
        static_cast<std::uint32_t>(shortcut.carbonKeyCode),
        static_cast<std::uint32_t>(shortcut.carbonModifiers), {trialHotKeySignature, 1});
    if (trial.status != 0) {
        return trial.status;
    }
    if (trial.handle) {
        service.unregisterHotKey(*trial.handle);
    }
    return std::nullopt;
}

} // namespace driftmark::KeyboardShortcuts
