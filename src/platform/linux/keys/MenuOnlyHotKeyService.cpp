#include "platform/linux/keys/MenuOnlyHotKeyService.h"

namespace driftmark {

HotKeyRegistration MenuOnlyHotKeyService::registerHotKey(std::uint32_t /*keyCode*/,
                                                         std::uint32_t /*modifiers*/, HotKeyId /*hotKeyId*/) {
    return {0, nextHandle_++};
}

void MenuOnlyHotKeyService::unregisterHotKey(std::uint64_t /*handle*/) {}

bool MenuOnlyHotKeyService::installEventHandler(HotKeyEventHandler& handler) {
    return delivery_.install(handler);
}

void MenuOnlyHotKeyService::setDelivery(KeyEventDelivery delivery) {
    delivery_.setDelivery(delivery);
}

} // namespace driftmark
