#pragma once

#include "platform/KeyboardLayout.h"

#include <map>

namespace driftmark::test {

// A US layout for the letter, digit and punctuation keys; tests change single keys or remove the layout.
class FakeKeyboardLayout final : public KeyboardLayout {
public:
    FakeKeyboardLayout();
    std::optional<std::string> keyCapText(std::uint16_t keyCode) const override;

    std::map<std::uint16_t, std::string> keyCaps;
    bool hasLayout = true;
};

} // namespace driftmark::test
