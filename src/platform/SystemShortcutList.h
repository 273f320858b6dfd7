#pragma once

#include <cstdint>
#include <vector>

namespace driftmark {

// A key combination that the desktop itself reserves, such as switching workspaces.
struct SystemHotKey {
    bool isEnabled = false;
    // Virtual key code and hot-key modifier bits, as a registration with the hot-key service takes them.
    std::int64_t keyCode = 0;
    std::int64_t modifiers = 0;
};

// The desktop's own keyboard shortcuts.
class SystemShortcutList {
public:
    virtual ~SystemShortcutList() = default;
    // Read anew on every call, as the user may change them at any time. Empty when they cannot be read.
    virtual std::vector<SystemHotKey> symbolicHotKeys() const = 0;
};

} // namespace driftmark
