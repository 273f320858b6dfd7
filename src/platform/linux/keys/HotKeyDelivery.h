#pragma once

#include "platform/HotKeyService.h"

#include <memory>
#include <vector>

namespace driftmark {

class RawKeyEventFilter;

// The receiving end of a hot-key service: the one installed handler, which of the two kinds of events
// reach it, and the raw keys of the application's own windows while one of its menus is open.
class HotKeyDelivery final {
public:
    HotKeyDelivery();
    ~HotKeyDelivery();
    HotKeyDelivery(const HotKeyDelivery&) = delete;
    HotKeyDelivery& operator=(const HotKeyDelivery&) = delete;

    // False when a handler is installed already.
    bool install(HotKeyEventHandler& handler);
    void setDelivery(KeyEventDelivery delivery);
    // Hands the hot keys' events to the handler one after the other, for as long as the delivery lets
    // them through: a handler may change it, for instance by opening a menu.
    void deliver(HotKeyEvent::Kind kind, const std::vector<HotKeyId>& hotKeyIds);

private:
    HotKeyEventHandler* handler_ = nullptr;
    KeyEventDelivery delivery_ = KeyEventDelivery::none;
    std::unique_ptr<RawKeyEventFilter> rawKeys_;
};

} // namespace driftmark
