#include "platform/linux/keys/QtLocalEventMonitorService.h"

#include "platform/KeyEventPoster.h"
#include "platform/linux/keys/KeyPositions.h"
#include "platform/linux/keys/XModifierMasks.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <vector>

namespace driftmark {

namespace {

constexpr int capsLockKey = 57;

// Virtual key codes 54 to 62: the Command, Shift, Caps Lock, Option and Control keys of both sides.
constexpr bool isModifierKey(int virtualKey) {
    return virtualKey >= 54 && virtualKey <= 62;
}

// The flag a modifier key other than Caps Lock sets while it is down.
constexpr std::uint64_t flagOfModifierKey(int virtualKey) {
    switch (virtualKey) {
    case 54:
    case 55:
        return keyEventFlagCommand;
    case 56:
    case 60:
        return keyEventFlagShift;
    case 58:
    case 61:
        return keyEventFlagOption;
    case 59:
    case 62:
        return keyEventFlagControl;
    default:
        return 0;
    }
}

// Qt's modifiers as the logic's flags: Super is Command, Alt is Option.
std::uint64_t modifierFlags(const QInputEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    std::uint64_t flags = 0;
    flags |= modifiers.testFlag(Qt::ShiftModifier) ? std::uint64_t{keyEventFlagShift} : 0;
    flags |= modifiers.testFlag(Qt::ControlModifier) ? std::uint64_t{keyEventFlagControl} : 0;
    flags |= modifiers.testFlag(Qt::AltModifier) ? std::uint64_t{keyEventFlagOption} : 0;
    flags |= modifiers.testFlag(Qt::MetaModifier) ? std::uint64_t{keyEventFlagCommand} : 0;
    return flags;
}

std::optional<LocalEvent> keyEvent(const QKeyEvent& key) {
    // Qt marks the releases of auto-repeat without detectable auto-repeat; a key-up comes only once.
    if (key.isAutoRepeat() && key.type() == QEvent::KeyRelease) {
        return std::nullopt;
    }
    const quint32 xKeyCode = key.nativeScanCode();
    const auto mapped =
        xKeyCode <= 0xFF ? virtualKeyForXKeyCode(static_cast<std::uint8_t>(xKeyCode)) : std::nullopt;
    // Keys of a PC keyboard that have no virtual key code still reach the monitors, so that a recorder
    // can refuse them audibly.
    const int virtualKey = mapped.value_or(LocalEvent::noKeyCode);
    const bool press = key.type() == QEvent::KeyPress;
    LocalEvent event;
    event.keyCode = static_cast<std::uint16_t>(virtualKey);
    std::uint64_t flags = modifierFlags(key);
    // Caps Lock is not among Qt's modifiers; the X state has it.
    if ((key.nativeModifiers() & xLockMask) != 0) {
        flags |= keyEventFlagCapsLock;
    }
    if (virtualKey == capsLockKey) {
        // Each press turns the lock on or off; a release changes nothing.
        if (!press) {
            return std::nullopt;
        }
        event.type = LocalEvent::flagsChanged;
        flags ^= keyEventFlagCapsLock;
    } else if (isModifierKey(virtualKey)) {
        // The flags after the change: the X state of a key event is the one before it.
        const std::uint64_t flag = flagOfModifierKey(virtualKey);
        event.type = LocalEvent::flagsChanged;
        flags = press ? flags | flag : flags & ~flag;
    } else {
        event.type = press ? LocalEvent::keyDown : LocalEvent::keyUp;
    }
    event.modifierFlags = flags;
    return event;
}

std::optional<LocalEvent> mouseEvent(const QMouseEvent& mouse) {
    const bool down = mouse.type() == QEvent::MouseButtonPress;
    LocalEvent event;
    if (mouse.button() == Qt::LeftButton) {
        event.type = down ? LocalEvent::leftMouseDown : LocalEvent::leftMouseUp;
    } else if (mouse.button() == Qt::RightButton) {
        event.type = down ? LocalEvent::rightMouseDown : LocalEvent::rightMouseUp;
    } else {
        return std::nullopt;
    }
    event.modifierFlags = modifierFlags(mouse);
    event.locationInWindow = {mouse.scenePosition().x(), mouse.scenePosition().y()};
    return event;
}

std::optional<LocalEvent> localEvent(const QEvent& event) {
    switch (event.type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return keyEvent(static_cast<const QKeyEvent&>(event));
    // The double-click event that follows a second press is no press of its own.
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        return mouseEvent(static_cast<const QMouseEvent&>(event));
    default:
        return std::nullopt;
    }
}

} // namespace

LocalEventMonitorService::Handle QtLocalEventMonitorService::addLocalMonitor(std::uint64_t mask,
                                                                             Handler handler) {
    if (monitors_.empty()) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    const Handle handle = nextHandle_++;
    monitors_.emplace(handle, Monitor{mask, std::move(handler)});
    return handle;
}

void QtLocalEventMonitorService::removeMonitor(Handle handle) {
    // Qt skips a filter removed while it runs through the filters.
    if (monitors_.erase(handle) != 0 && monitors_.empty()) {
        QCoreApplication::instance()->removeEventFilter(this);
    }
}

bool QtLocalEventMonitorService::eventFilter(QObject* watched, QEvent* event) {
    // An input event reaches its window first and is then passed on to a widget or item: the window alone
    // sees each of them once.
    if (!watched->isWindowType()) {
        return false;
    }
    std::optional<LocalEvent> local = localEvent(*event);
    if (!local) {
        return false;
    }
    // A handler may add or remove monitors; one added now sees the next event, one removed does not run.
    std::vector<Handle> handles;
    for (const auto& [handle, monitor] : monitors_) {
        handles.push_back(handle);
    }
    for (const Handle handle : handles) {
        const auto found = monitors_.find(handle);
        if (found == monitors_.end() || (found->second.mask & eventMask(local->type)) == 0) {
            continue;
        }
        const Handler handler = found->second.handler;
        local = handler(*local);
        if (!local) {
            return true;
        }
    }
    return false;
}

} // namespace driftmark
