#pragma once

namespace driftmark {

// Whether this process may synthesise keyboard input into other applications. Never cached by the
// callers: every question is answered from the current state.
class AccessibilityTrust {
public:
    virtual ~AccessibilityTrust() = default;
    virtual bool isTrusted() const = 0;
    // Same answer; in addition tells the user what is missing and how to get it.
    virtual bool isTrustedWithPrompt() = 0;
    virtual void openAccessibilitySettings() = 0;
};

} // namespace driftmark
