#pragma once

#include "platform/HotKeyService.h"
#include "platform/linux/keys/HotKeyDelivery.h"

#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

struct xcb_connection_t;
struct xcb_key_press_event_t;

namespace driftmark {

class KeyboardLayout;
class X11Context;
class X11KeyboardMappingWatcher;

// Global hot keys on X11: each registration is a passive key grab on the root window of Qt's connection,
// taken once for every combination of Caps Lock, Num Lock and Scroll Lock. Command is the Super key
// (Mod4), Option is Alt (Mod1). Presses and releases of the grabbed keys come through Qt's native event
// filter; a held key reports one press and one release however long it auto-repeats. For that the service
// turns on XKB's detectable auto-repeat for Qt's connection, so Qt's windows too see a held key as repeated
// presses and a single release. While a menu of the application is open, raw keys come from the
// application's own key events instead. When a lock moves to another modifier every grab is taken again;
// one that another program holds by then is lost, and reported on standard output the way a refused
// registration is.
class X11HotKeyService final : public HotKeyService, private QAbstractNativeEventFilter {
public:
    // The status of a registration without an X display.
    static constexpr std::int32_t noDisplayStatus = -1;
    // The status of a registration of a key without an X key code or with Fn: BadValue, as the server
    // answers a grab of a key code it does not have.
    static constexpr std::int32_t ungrabbableStatus = 2;

    // Hears of a registered hot key whose grab was lost when the locks were mapped anew: its virtual key
    // code, its hot-key modifier bits and the server's error code.
    using LostGrabReporter =
        std::function<void(std::uint32_t keyCode, std::uint32_t modifiers, std::int32_t status)>;

    // Works on the context's connection and screen; without a connection every registration is refused.
    X11HotKeyService(const X11Context& x11, LostGrabReporter reportLostGrab);
    ~X11HotKeyService() override;
    X11HotKeyService(const X11HotKeyService&) = delete;
    X11HotKeyService& operator=(const X11HotKeyService&) = delete;

    // A combination that another X client holds is refused with the server's error code (BadAccess, 10).
    HotKeyRegistration registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                      HotKeyId hotKeyId) override;
    void unregisterHotKey(std::uint64_t handle) override;
    bool installEventHandler(HotKeyEventHandler& handler) override;
    void setDelivery(KeyEventDelivery delivery) override;

private:
    struct Grab {
        std::uint8_t keyCode = 0;
        std::uint16_t modifiers = 0;
        HotKeyId hotKeyId;
        // As registered, to name the hot key when its grab is lost.
        std::uint32_t virtualKey = 0;
        std::uint32_t hotKeyModifiers = 0;
        // The modifier sets grabbed, one per lock combination; empty when the grab was lost.
        std::vector<std::uint16_t> grabbed;
    };

    // Grabs every lock combination in one round trip; on a refusal releases those taken and returns the X
    // error code of the first combination refused.
    std::int32_t grab(Grab& grab);
    void release(Grab& grab);
    void renewGrabs();

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    bool keyPressed(const xcb_key_press_event_t& event);
    bool keyReleased(const xcb_key_press_event_t& event);

    xcb_connection_t* connection_;
    // Names the keys of lost grabs as the user's layout prints them.
    LostGrabReporter reportLostGrab_;
    std::uint32_t root_;
    std::uint16_t lockMasks_ = 0;
    std::map<std::uint64_t, Grab> grabs_;
    std::uint64_t nextHandle_ = 1;
    // The X key codes of hot keys held down, with the registrations their press was reported for.
    std::map<std::uint8_t, std::vector<HotKeyId>> held_;
    HotKeyDelivery delivery_;
    std::unique_ptr<X11KeyboardMappingWatcher> mappingWatcher_;
};

} // namespace driftmark
