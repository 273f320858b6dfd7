#pragma once

#include "platform/LoginItemService.h"

#include <string>
#include <vector>

namespace driftmark::test {

// A login item that is only a flag. Register and unregister go on `calls` and set the flag unless the
// test has given them an error to report.
class FakeLoginItemService final : public LoginItemService {
public:
    bool isEnabled() const override { return enabled; }

    std::optional<std::string> registerItem() override {
        calls.emplace_back("register");
        if (!registerError) {
            enabled = true;
        }
        return registerError;
    }

    std::optional<std::string> unregisterItem() override {
        calls.emplace_back("unregister");
        if (!unregisterError) {
            enabled = false;
        }
        return unregisterError;
    }

    bool enabled = false;
    std::optional<std::string> registerError;
    std::optional<std::string> unregisterError;
    std::vector<std::string> calls;
};

} // namespace driftmark::test
