#pragma once

#include "KeyboardShortcuts/Name.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <variant>

namespace driftmark::KeyboardShortcuts {

// Posted after a name's stored shortcut changed; user info "name" holds the Name.
inline constexpr std::string_view shortcutByNameDidChange = "KeyboardShortcuts_shortcutByNameDidChange";
// Posted when a recorder starts or stops recording; user info "isActive" holds a boolean.
inline constexpr std::string_view recorderActiveStatusDidChange =
    "KeyboardShortcuts_recorderActiveStatusDidChange";

struct Notification {
    std::string name;
    std::map<std::string, std::variant<Name, bool>> userInfo;
};

// Synchronous in-process broadcasts by notification name. An observer may add or remove observers, itself
// included, while it is being called: one added during a post waits for the next post, one removed is not
// called again, not even later in the same post.
class NotificationCenter {
public:
    using ObserverToken = std::uint64_t;

    ObserverToken addObserver(std::string_view name, std::function<void(const Notification&)> handler);
    // Unknown tokens are ignored.
    void removeObserver(ObserverToken token);
    void post(const Notification& notification) const;

private:
    struct Observer {
        std::string name;
        std::function<void(const Notification&)> handler;
    };
    std::map<ObserverToken, Observer> observers_;
    ObserverToken lastToken_ = 0;
};

} // namespace driftmark::KeyboardShortcuts
