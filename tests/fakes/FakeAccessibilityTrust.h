#pragma once

#include "fakes/Timeline.h"
#include "platform/AccessibilityTrust.h"

namespace driftmark::test {

// A settable answer. Each question goes on the timeline as "trust: isTrusted" or
// "trust: isTrustedWithPrompt".
class FakeAccessibilityTrust final : public AccessibilityTrust {
public:
    explicit FakeAccessibilityTrust(Timeline& timeline)
        : timeline_(timeline) {}

    bool isTrusted() const override {
        timeline_.record("trust", "isTrusted");
        return trusted;
    }
    bool isTrustedWithPrompt() override {
        ++prompts;
        timeline_.record("trust", "isTrustedWithPrompt");
        return trusted;
    }
    void openAccessibilitySettings() override { ++settingsOpened; }

    bool trusted = true;
    int prompts = 0;
    int settingsOpened = 0;

private:
    Timeline& timeline_;
};

} // namespace driftmark::test
