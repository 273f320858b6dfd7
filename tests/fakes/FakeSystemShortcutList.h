#pragma once

#include "platform/SystemShortcutList.h"

namespace driftmark::test {

// Answers with the entries the test put in, counting the reads.
class FakeSystemShortcutList final : public SystemShortcutList {
public:
    std::vector<SystemHotKey> symbolicHotKeys() const override {
        ++reads;
        return entries;
    }

    std::vector<SystemHotKey> entries;
    mutable int reads = 0;
};

} // namespace driftmark::test
