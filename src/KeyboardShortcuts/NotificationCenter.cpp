#include "KeyboardShortcuts/NotificationCenter.h"

#include <vector>

namespace driftmark::KeyboardShortcuts {

NotificationCenter::ObserverToken
NotificationCenter::addObserver(std::string_view name, std::function<void(const Notification&)> handler) {
    const ObserverToken token = ++lastToken_;
    observers_.emplace(token, Observer{std::string(name), std::move(handler)});
    return token;
}

void NotificationCenter::removeObserver(ObserverToken token) {
    observers_.erase(token);
}

void NotificationCenter::post(const Notification& notification) const {
    std::vector<std::pair<ObserverToken, std::function<void(const Notification&)>>> recipients;
    for (const auto& [token, observer] : observers_) {
        if (observer.name == notification.name) {
            recipients.emplace_back(token, observer.handler);
        }
    }
    for (const auto& [token, handler] : recipients) {
        if (observers_.contains(token)) {
            handler(notification);
        }
    }
}

} // namespace driftmark::KeyboardShortcuts
