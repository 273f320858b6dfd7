#include "platform/linux/keys/X11HotKeyService.h"

#include "platform/linux/keys/KeyPositions.h"
#include "platform/linux/keys/LockModifierMasks.h"
#include "platform/linux/keys/X11KeyTranslation.h"
#include "platform/linux/keys/X11KeyboardMappingWatcher.h"
#include "platform/linux/x11/X11Context.h"
#include "platform/linux/x11/XcbReply.h"
#include "platform/linux/x11/XcbXkb.h"

#include <QCoreApplication>
#include <algorithm>
#include <xcb/xcb.h>

namespace driftmark {

namespace {

constexpr std::uint8_t eventTypeMask = 0x7F;

static_assert(X11HotKeyService::ungrabbableStatus == XCB_VALUE);

// Without this the server reports an auto-repeating key as a release and a press every few milliseconds.
void askForDetectableAutoRepeat(xcb_connection_t* connection) {
    const auto* xkb = xcb_get_extension_data(connection, &xcb_xkb_id);
    if (xkb == nullptr || xkb->present == 0) {
        return;
    }
    const auto cookie = xcb_xkb_per_client_flags(connection, XCB_XKB_ID_USE_CORE_KBD,
                                                 XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT,
                                                 XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT, 0, 0, 0);
    xcb_discard_reply(connection, cookie.sequence);
}

} // namespace

X11HotKeyService::X11HotKeyService(const X11Context& x11, LostGrabReporter reportLostGrab)
    : connection_(x11.connection())
    , reportLostGrab_(std::move(reportLostGrab))
    , root_(x11.root()) {
    if (connection_ == nullptr) {
        return;
    }
    lockMasks_ = lockModifierMasks(connection_);
    askForDetectableAutoRepeat(connection_);
    mappingWatcher_ = std::make_unique<X11KeyboardMappingWatcher>(connection_, [this] { renewGrabs(); });
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11HotKeyService::~X11HotKeyService() {
    auto* application = QCoreApplication::instance();
    // Once the application is gone, so is its connection, and the server dropped the grabs with it.
    if (connection_ == nullptr || application == nullptr) {
        return;
    }
    application->removeNativeEventFilter(this);
    for (auto& [handle, registration] : grabs_) {
        for (const std::uint16_t modifiers : registration.grabbed) {
            xcb_ungrab_key(connection_, registration.keyCode, root_, modifiers);
        }
    }
    xcb_flush(connection_);
}

HotKeyRegistration X11HotKeyService::registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                                    HotKeyId hotKeyId) {
    if (connection_ == nullptr) {
        return {noDisplayStatus, std::nullopt};
    }
    const auto xKeyCode = keyCode <= 0xFFFF ? xKeyCodeForVirtualKey(static_cast<int>(keyCode)) : std::nullopt;
    const auto xModifiers = xModifiersForHotKey(modifiers);
    if (!xKeyCode || !xModifiers) {
        return {ungrabbableStatus, std::nullopt};
    }
    Grab registration{*xKeyCode, *xModifiers, hotKeyId, keyCode, modifiers, {}};
    if (const std::int32_t status = grab(registration); status != 0) {
        return {status, std::nullopt};
    }
    const std::uint64_t handle = nextHandle_++;
    grabs_.emplace(handle, std::move(registration));
    return {0, handle};
}

void X11HotKeyService::unregisterHotKey(std::uint64_t handle) {
    const auto found = grabs_.find(handle);
    if (found == grabs_.end()) {
        return;
    }
    release(found->second);
    grabs_.erase(found);
    xcb_flush(connection_);
}

bool X11HotKeyService::installEventHandler(HotKeyEventHandler& handler) {
    return connection_ != nullptr && delivery_.install(handler);
}

void X11HotKeyService::setDelivery(KeyEventDelivery delivery) {
    delivery_.setDelivery(delivery);
}

std::int32_t X11HotKeyService::grab(Grab& registration) {
    const std::vector<std::uint16_t> combinations = lockCombinations(registration.modifiers, lockMasks_);
    std::vector<xcb_void_cookie_t> cookies;
    cookies.reserve(combinations.size());
    for (const std::uint16_t modifiers : combinations) {
        // Pointer and keyboard keep running while the key is down, so other programs see nothing odd.
        cookies.push_back(xcb_grab_key_checked(connection_, 0, root_, modifiers, registration.keyCode,
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    std::int32_t status = 0;
    for (std::size_t index = 0; index < combinations.size(); ++index) {
        const XcbReply<xcb_generic_error_t> error(xcb_request_check(connection_, cookies[index]));
        if (!error) {
            registration.grabbed.push_back(combinations[index]);
        } else if (status == 0) {
            status = error->error_code;
        }
    }
    if (status != 0) {
        release(registration);
        xcb_flush(connection_);
    }
    return status;
}

void X11HotKeyService::release(Grab& registration) {
    // X keeps one grab per combination and client: a second registration of the same combination shares
    // it, and it must stay while any of them is left.
    const bool shared = std::any_of(grabs_.begin(), grabs_.end(), [&](const auto& entry) {
        return &entry.second != &registration && entry.second.keyCode == registration.keyCode &&
               entry.second.modifiers == registration.modifiers && !entry.second.grabbed.empty();
    });
    if (!shared) {
        for (const std::uint16_t modifiers : registration.grabbed) {
            xcb_ungrab_key(connection_, registration.keyCode, root_, modifiers);
        }
    }
    registration.grabbed.clear();
}

void X11HotKeyService::renewGrabs() {
    // The grabs name keys by key code, which a new mapping leaves in place; only a lock that moved to
    // another modifier needs grabs for other combinations.
    const std::uint16_t lockMasks = lockModifierMasks(connection_);
    if (lockMasks == lockMasks_) {
        return;
    }
    for (auto& [handle, registration] : grabs_) {
        for (const std::uint16_t modifiers : registration.grabbed) {
            xcb_ungrab_key(connection_, registration.keyCode, root_, modifiers);
        }
        registration.grabbed.clear();
    }
    lockMasks_ = lockMasks;
    // A combination that another program took in the meantime stays lost until it is registered again.
    // Nothing else would show that the hot key is dead, so it is reported like a refused registration.
    for (auto& [handle, registration] : grabs_) {
        if (const std::int32_t status = grab(registration); status != 0) {
            reportLostGrab_(registration.virtualKey, registration.hotKeyModifiers, status);
        }
    }
    xcb_flush(connection_);
}

bool X11HotKeyService::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t") {
        return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const std::uint8_t type = event->response_type & eventTypeMask;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) {
        return false;
    }
    const auto& key = *reinterpret_cast<const xcb_key_press_event_t*>(event);
    // Qt selects no key events on the root window: those reported for it come from the grabs.
    if (key.event != root_) {
        return false;
    }
    return type == XCB_KEY_PRESS ? keyPressed(key) : keyReleased(key);
}

bool X11HotKeyService::keyPressed(const xcb_key_press_event_t& event) {
    // With detectable auto-repeat, a held key goes on sending presses and no releases.
    if (held_.contains(event.detail)) {
        return true;
    }
    const std::uint16_t modifiers = event.state & xModifierBits & ~lockMasks_;
    std::vector<HotKeyId> pressed;
    for (const auto& [handle, registration] : grabs_) {
        if (registration.keyCode == event.detail && registration.modifiers == modifiers &&
            !registration.grabbed.empty()) {
            pressed.push_back(registration.hotKeyId);
        }
    }
    if (pressed.empty()) {
        return false;
    }
    held_.emplace(event.detail, pressed);
    delivery_.deliver(HotKeyEvent::Kind::pressed, pressed);
    return true;
}

bool X11HotKeyService::keyReleased(const xcb_key_press_event_t& event) {
    // Matched by key alone: the modifiers may have been let go first.
    const auto found = held_.find(event.detail);
    if (found == held_.end()) {
        return false;
    }
    const std::vector<HotKeyId> released = std::move(found->second);
    held_.erase(found);
    delivery_.deliver(HotKeyEvent::Kind::released, released);
    return true;
}

} // namespace driftmark
