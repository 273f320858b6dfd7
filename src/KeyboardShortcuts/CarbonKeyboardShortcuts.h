#pragma once

#include "KeyboardShortcuts/HotKey.h"
#include "platform/HotKeyService.h"

#include <cstdint>
#include <iosfwd>
#include <map>

namespace driftmark {
class KeyboardLayout;
}

namespace driftmark::KeyboardShortcuts {

// The table of shortcuts registered as system-wide hot keys, and the delivery of their key presses and
// releases. While a menu of the application is open, hot keys are suspended and the menu's raw keys are
// matched against the table instead; while the module is disabled, nothing is delivered. A release goes
// to the hot key whose press was delivered for that key, whatever modifiers are held by then: people often
// let go of the modifiers before the key.
class CarbonKeyboardShortcuts final : private HotKeyEventHandler {
public:
    // "HTKY", the signature of every hot key registered here.
    static constexpr std::uint32_t hotKeySignature = 0x48544B59;
    // The status reported for a shortcut refused before it reaches the service.
    static constexpr std::int32_t invalidHotKeyStatus = -9870;

    CarbonKeyboardShortcuts(HotKeyService& service, const KeyboardLayout& layout, const Switches& switches,
                            std::ostream& standardOutput);
    CarbonKeyboardShortcuts(const CarbonKeyboardShortcuts&) = delete;
    CarbonKeyboardShortcuts& operator=(const CarbonKeyboardShortcuts&) = delete;

    // Registers under a new id, also when the same shortcut is registered already. A refusal writes
    // "Error registering hotkey <shortcut>: <status>" to standard output and stores nothing. Refused
    // without asking the service: key codes or modifiers outside 0…4294967295, shortcuts without Control,
    // Option or Command whose key is not a function key, and every registration once 2^32 - 1 ids are used.
    void register_(const Shortcut& shortcut, std::function<void(const Shortcut&)> onKeyDown,
                   std::function<void(const Shortcut&)> onKeyUp);
    // Releases every registration of the shortcut.
    void unregister(const Shortcut& shortcut);
    // Suspends or resumes the hot keys and chooses the delivery for the current switches.
    void updateEventHandler();

    const std::map<std::uint32_t, HotKey>& hotKeys() const { return hotKeys_; }

    // Writes the line of a refused registration, "Error registering hotkey <shortcut>: <status>", also
    // used for a hot key that the platform loses after it was registered.
    static void reportRegistrationFailure(std::ostream& output, const Shortcut& shortcut,
                                          const KeyboardLayout& layout, std::int32_t status);

private:
    EventHandling hotKeyEvent(const HotKeyEvent& event) override;
    EventHandling rawKeyEvent(const RawKeyEvent& event) override;
    EventHandling rawKeyReleased(std::uint32_t keyCode);

    std::optional<std::uint64_t> registerWithService(const Shortcut& shortcut, std::uint32_t id);
    void reportFailure(const Shortcut& shortcut, std::int32_t status);
    void suspendAll();
    void resumeAll();

    HotKeyService& service_;
    const KeyboardLayout& layout_;
    const Switches& switches_;
    std::ostream& standardOutput_;
    std::map<std::uint32_t, HotKey> hotKeys_;
    // Key codes whose press was delivered, by either path, with the id of the hot key it went to.
    std::map<std::uint32_t, std::uint32_t> pressedKeys_;
    std::uint32_t hotKeyId_ = 0;
    bool eventHandlerInstalled_ = false;
};

} // namespace driftmark::KeyboardShortcuts
