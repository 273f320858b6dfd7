#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace driftmark {

// The user's current keyboard layout, for showing keys the way they are labelled.
class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;
    // The UTF-8 text that the current ASCII-capable layout types with the key of this virtual key code
    // when no modifier is held, as printed on the key cap ("a", not "A"). Absent when no such layout is
    // active or the key cannot be translated. Dead keys and keys that type several characters give their
    // text as it is, which may be empty or longer than one character.
    virtual std::optional<std::string> keyCapText(std::uint16_t keyCode) const = 0;
};

} // namespace driftmark
