#pragma once

#include "platform/HotKeyService.h"

#include <QObject>
#include <map>

namespace driftmark {

// While a menu of the application holds the keyboard, hands the key presses and releases of the
// application's windows to the hot-key handler as raw key events; a key the handler takes never reaches
// the menu. Auto-repeated presses reach the menu or not as the first press did, without asking the handler
// again. Modifier keys (Shift, Control, Alt, Super) go to neither: they only change other keys.
class RawKeyEventFilter final : public QObject {
    Q_OBJECT

public:
    explicit RawKeyEventFilter(HotKeyEventHandler& handler);

    // Starts or stops filtering the application's events. Safe to call from inside the handler.
    void setActive(bool active);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    HotKeyEventHandler& handler_;
    bool active_ = false;
    // The X key codes held down, each with whether the handler took its press.
    std::map<quint32, bool> held_;
};

} // namespace driftmark
