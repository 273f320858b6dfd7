#include "platform/linux/x11/XTestAccessibilityTrust.h"

#include "platform/linux/x11/X11Connection.h"
#include "platform/linux/x11/X11Context.h"

namespace driftmark {

XTestAccessibilityTrust::XTestAccessibilityTrust(const X11Context& x11)
    : x11_(x11) {}

bool XTestAccessibilityTrust::isTrusted() const {
    return offersXTest(x11_.connection());
}

bool XTestAccessibilityTrust::isTrustedWithPrompt() {
    const bool trusted = isTrusted();
    if (!trusted) {
        showExplanation(trusted);
    }
    return trusted;
}

void XTestAccessibilityTrust::openAccessibilitySettings() {
    showExplanation(isTrusted());
}

void XTestAccessibilityTrust::showExplanation(bool trusted) {
    if (trusted) {
        notice_.show(
            true, QStringLiteral("Smart Paste can paste for you."),
            QStringLiteral("This display lets Driftmark synthesise keystrokes (the X server offers the XTEST "
                           "extension), so Smart Paste types the paste shortcut into the application you "
                           "were working in."));
    } else {
        notice_.show(
            false, QStringLiteral("Smart Paste cannot paste on this display."),
            QStringLiteral("Smart Paste needs to synthesise the paste keystroke in the application you "
                           "were working in, and this display does not allow it: the X server does not "
                           "offer the XTEST extension (as in a Wayland session without X11 input). Until "
                           "it does, Smart Paste falls back to a plain copy: the text goes to the "
                           "clipboard and you paste it yourself."));
    }
}

} // namespace driftmark
