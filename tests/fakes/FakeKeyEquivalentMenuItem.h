#pragma once

#include "platform/KeyEquivalentMenuItem.h"

namespace driftmark::test {

// Remembers what it was told to show.
class FakeKeyEquivalentMenuItem final : public KeyEquivalentMenuItem {
public:
    void setKeyEquivalent(const std::string& newKey, std::uint64_t newModifierFlags) override {
        key = newKey;
        modifierFlags = newModifierFlags;
        ++updates;
    }

    std::string key = "unset";
    std::uint64_t modifierFlags = 0;
    int updates = 0;
};

} // namespace driftmark::test
