#pragma once

#include "platform/AccessibilityTrust.h"
#include "platform/linux/SmartPasteNotice.h"

namespace driftmark {

class WaylandConnection;

// On a Wayland compositor a client may type into other windows when the compositor offers it a virtual
// keyboard and has a seat to put it on (wlroots-based ones such as sway do), or offers it KWin's fake input
// (KDE Plasma does to the programs whose desktop files ask for it); GNOME's offers neither. The "prompt"
// and the settings are a small notice that explains this.
class WaylandKeystrokeAccessibilityTrust final : public AccessibilityTrust {
public:
    // The connection must outlive the trust.
    explicit WaylandKeystrokeAccessibilityTrust(const WaylandConnection& connection);

    bool isTrusted() const override;
    bool isTrustedWithPrompt() override;
    void openAccessibilitySettings() override;

private:
    bool typesThroughVirtualKeyboard() const;
    void showExplanation();

    const WaylandConnection& connection_;
    SmartPasteNotice notice_;
};

} // namespace driftmark
