#pragma once

#include <optional>
#include <string>

namespace driftmark {

// The desktop's per-user record of programs to start at login, for this program's own item.
class LoginItemService {
public:
    virtual ~LoginItemService() = default;

    // Whether the item is there and would start the program at the next login.
    virtual bool isEnabled() const = 0;
    // Both return the system's description of what went wrong, or nothing when they succeeded.
    virtual std::optional<std::string> registerItem() = 0;
    // An item that is not there is already unregistered: that is success.
    virtual std::optional<std::string> unregisterItem() = 0;
};

} // namespace driftmark
