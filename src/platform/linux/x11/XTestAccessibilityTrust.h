#pragma once

#include "platform/AccessibilityTrust.h"
#include "platform/linux/SmartPasteNotice.h"

namespace driftmark {

class X11Context;

// On X11 any client may synthesise input as long as the server offers the XTEST extension; without it
// (for example on Wayland without XWayland input) Smart Paste cannot type. The "prompt" and the
// settings are a small notice that explains this.
class XTestAccessibilityTrust final : public AccessibilityTrust {
public:
    // The context must outlive the trust.
    explicit XTestAccessibilityTrust(const X11Context& x11);

    bool isTrusted() const override;
    bool isTrustedWithPrompt() override;
    void openAccessibilitySettings() override;

private:
    void showExplanation(bool trusted);

    const X11Context& x11_;
    SmartPasteNotice notice_;
};

} // namespace driftmark
