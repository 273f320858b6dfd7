#pragma once

#include <cstdint>
#include <optional>

namespace driftmark {

// Identifies one hot key in the events it produces: a four-character signature naming the owner and a
// number the owner chose. Two owners never share a signature.
struct HotKeyId {
    std::uint32_t signature = 0;
    std::uint32_t id = 0;

    friend bool operator==(const HotKeyId&, const HotKeyId&) = default;
};

// What the service answered to a registration. A status of 0 is success and always comes with a
// handle; any other status is the platform's reason for the refusal and comes without one.
struct HotKeyRegistration {
    std::int32_t status = 0;
    std::optional<std::uint64_t> handle;
};

// A registered hot key went down or up.
// Hot-key modifier bits, as registrations and raw key events carry them.
enum HotKeyModifiers : std::uint32_t {
    hotKeyModifierCommand = 0x100,
    hotKeyModifierShift = 0x200,
    // Caps Lock is on; never part of a registration.
    hotKeyModifierCapsLock = 0x400,
    hotKeyModifierOption = 0x800,
    hotKeyModifierControl = 0x1000,
    hotKeyModifierFunction = 0x20000,
};

struct HotKeyEvent {
    enum class Kind { pressed, released };
    Kind kind = Kind::pressed;
    HotKeyId hotKeyId;
};

// A key went down or up inside the application while one of its menus was open. The key code is the
// virtual key code of the physical key, the modifiers are hot-key modifier bits (Command 0x100, Shift 0x200,
// Option 0x800, Control 0x1000) and may carry other bits, such as Caps Lock (0x400).
struct RawKeyEvent {
    enum class Kind { down, up };
    Kind kind = Kind::down;
    std::uint32_t keyCode = 0;
    std::uint32_t modifiers = 0;
};

enum class EventHandling { handled, notHandled };

// Receives the events the service delivers, on the main thread.
class HotKeyEventHandler {
public:
    virtual ~HotKeyEventHandler() = default;
    // notHandled leaves the event to whoever else listens for it.
    virtual EventHandling hotKeyEvent(const HotKeyEvent& event) = 0;
    // handled consumes the key: the open menu never sees it. notHandled passes it on to the menu unchanged.
    virtual EventHandling rawKeyEvent(const RawKeyEvent& event) = 0;
};

// Which of the two kinds of events reach the installed handler. Registered hot keys produce events only in
// hotKeys; while the application's own menu is open it holds the keyboard, so its keys come as raw events.
enum class KeyEventDelivery { none, hotKeys, rawKeys };

// System-wide keyboard shortcuts: a key combination registered here is taken away from every other
// application and reported to this one, whichever window has the focus.
class HotKeyService {
public:
    virtual ~HotKeyService() = default;

    // Takes the combination of a virtual key code and hot-key modifier bits for this process. Refused, with
    // a non-zero status, when the combination is already taken (by another program or the desktop) or the
    // platform cannot produce it. Registering one combination twice gives two handles.
    virtual HotKeyRegistration registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                              HotKeyId hotKeyId) = 0;
    // Gives the combination back; unknown handles are ignored.
    virtual void unregisterHotKey(std::uint64_t handle) = 0;

    // Makes handler the receiver of every event; false when the platform cannot deliver events. Called at
    // most once successfully; the handler must stay alive as long as the service is used. Delivery starts
    // as none.
    virtual bool installEventHandler(HotKeyEventHandler& handler) = 0;
    virtual void setDelivery(KeyEventDelivery delivery) = 0;
};

} // namespace driftmark
