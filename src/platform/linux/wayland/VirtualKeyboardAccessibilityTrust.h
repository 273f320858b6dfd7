#pragma once

#include "platform/AccessibilityTrust.h"
#include "platform/linux/SmartPasteNotice.h"

namespace driftmark {

class WaylandConnection;

// On a Wayland compositor a client may type into other windows when the compositor offers it a virtual
// keyboard (wlroots-based ones such as sway do, GNOME's does not) and has a seat to put it on. The
// "prompt" and the settings are a small notice that explains this.
class VirtualKeyboardAccessibilityTrust final : public AccessibilityTrust {
public:
    // The connection must outlive the trust.
    explicit VirtualKeyboardAccessibilityTrust(const WaylandConnection& connection);

    bool isTrusted() const override;
    bool isTrustedWithPrompt() override;
    void openAccessibilitySettings() override;

private:
    void showExplanation();

    const WaylandConnection& connection_;
    SmartPasteNotice notice_;
};

} // namespace driftmark
