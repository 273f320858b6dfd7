#include "platform/linux/keys/HotKeyDelivery.h"

#include "platform/linux/keys/RawKeyEventFilter.h"

namespace driftmark {

HotKeyDelivery::HotKeyDelivery() = default;

HotKeyDelivery::~HotKeyDelivery() = default;

bool HotKeyDelivery::install(HotKeyEventHandler& handler) {
    if (handler_ != nullptr) {
        return false;
    }
    handler_ = &handler;
    rawKeys_ = std::make_unique<RawKeyEventFilter>(handler);
    return true;
}

void HotKeyDelivery::setDelivery(KeyEventDelivery delivery) {
    delivery_ = delivery;
    if (rawKeys_) {
        rawKeys_->setActive(delivery == KeyEventDelivery::rawKeys);
    }
}

void HotKeyDelivery::deliver(HotKeyEvent::Kind kind, const std::vector<HotKeyId>& hotKeyIds) {
    for (const HotKeyId& hotKeyId : hotKeyIds) {
        if (handler_ == nullptr || delivery_ != KeyEventDelivery::hotKeys) {
            return;
        }
        handler_->hotKeyEvent({kind, hotKeyId});
    }
}

} // namespace driftmark
