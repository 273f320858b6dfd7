#include "platform/linux/keys/RawKeyEventFilter.h"

#include "platform/linux/keys/KeyPositions.h"
#include "platform/linux/keys/X11KeyTranslation.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace driftmark {

namespace {

// Keys that only modify other keys.
bool isModifierKey(int key) {
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
        return true;
    default:
        return false;
    }
}

} // namespace

RawKeyEventFilter::RawKeyEventFilter(HotKeyEventHandler& handler)
    : handler_(handler) {}

void RawKeyEventFilter::setActive(bool active) {
    if (active == active_) {
        return;
    }
    active_ = active;
    held_.clear();
    // Qt skips a filter removed while it runs through the filters, and forgets one that is destroyed.
    if (active) {
        QCoreApplication::instance()->installEventFilter(this);
    } else {
        QCoreApplication::instance()->removeEventFilter(this);
    }
}

bool RawKeyEventFilter::eventFilter(QObject* watched, QEvent* event) {
    // A key event reaches its window first and is then passed on to a widget or item: the window alone
    // sees each keystroke once.
    const bool press = event->type() == QEvent::KeyPress;
    if (!watched->isWindowType() || (!press && event->type() != QEvent::KeyRelease)) {
        return false;
    }
    const auto* key = static_cast<const QKeyEvent*>(event);
    // Modifiers held for a shortcut must leave the menu as it is, and Qt's menus close on a bare Alt. They
    // are no shortcut's key either, so neither the menu nor the handler gets them.
    if (isModifierKey(key->key())) {
        return true;
    }
    // On X11 the native scan code is the X key code.
    const quint32 xKeyCode = key->nativeScanCode();
    const auto virtualKey =
        xKeyCode <= 0xFF ? virtualKeyForXKeyCode(static_cast<std::uint8_t>(xKeyCode)) : std::nullopt;
    if (!virtualKey) {
        return false;
    }
    const auto held = held_.find(xKeyCode);
    const bool taken = held != held_.end() && held->second;
    // X repeats a held key as more presses under detectable auto-repeat, else as release and press pairs
    // that Qt marks.
    if (key->isAutoRepeat() || (press && held != held_.end())) {
        return taken;
    }
    const RawKeyEvent raw{press ? RawKeyEvent::Kind::down : RawKeyEvent::Kind::up,
                          static_cast<std::uint32_t>(*virtualKey),
                          hotKeyModifiersForX(static_cast<std::uint16_t>(key->nativeModifiers()))};
    const bool handled = handler_.rawKeyEvent(raw) == EventHandling::handled;
    if (!active_) {
        // The handler closed the menu, and the filter's work ended with it.
        return handled;
    }
    if (press) {
        held_[xKeyCode] = handled;
        return handled;
    }
    held_.erase(xKeyCode);
    return handled || taken;
}

} // namespace driftmark
