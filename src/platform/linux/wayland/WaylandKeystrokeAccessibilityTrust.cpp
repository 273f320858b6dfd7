#include "platform/linux/wayland/WaylandKeystrokeAccessibilityTrust.h"

#include "platform/linux/wayland/WaylandConnection.h"

namespace driftmark {

WaylandKeystrokeAccessibilityTrust::WaylandKeystrokeAccessibilityTrust(const WaylandConnection& connection)
    : connection_(connection) {}

bool WaylandKeystrokeAccessibilityTrust::isTrusted() const {
    return !connection_.lost() && (typesThroughVirtualKeyboard() || connection_.fakeInput() != nullptr);
}

bool WaylandKeystrokeAccessibilityTrust::typesThroughVirtualKeyboard() const {
    return connection_.virtualKeyboardManager() != nullptr && connection_.seat() != nullptr;
}

bool WaylandKeystrokeAccessibilityTrust::isTrustedWithPrompt() {
    const bool trusted = isTrusted();
    if (!trusted) {
        showExplanation();
    }
    return trusted;
}

void WaylandKeystrokeAccessibilityTrust::openAccessibilitySettings() {
    showExplanation();
}

void WaylandKeystrokeAccessibilityTrust::showExplanation() {
    if (isTrusted()) {
        notice_.show(
            true, QStringLiteral("Smart Paste can paste for you."),
            QStringLiteral("This compositor lets Driftmark type (it offers ") +
                (typesThroughVirtualKeyboard() ? QStringLiteral("the virtual-keyboard protocol")
                                               : QStringLiteral("KDE's fake input")) +
                QStringLiteral("), so Smart Paste types the paste shortcut into the application you were "
                               "working in."));
        return;
    }
    QString missing;
    if (connection_.lost()) {
        missing =
            QStringLiteral("Driftmark has lost its connection to the compositor (start Driftmark again)");
    } else if (connection_.virtualKeyboardManager() == nullptr) {
        missing =
            QStringLiteral("the compositor does not offer the virtual-keyboard protocol (as GNOME's does "
                           "not), nor KDE's fake input (KDE Plasma offers it only to programs whose "
                           "desktop files ask for it, as an installed Driftmark's does)");
    } else {
        missing = QStringLiteral("the compositor has no seat to put a keyboard on, and offers no KDE fake "
                                 "input");
    }
    notice_.show(
        false, QStringLiteral("Smart Paste cannot paste on this desktop."),
        QStringLiteral("Smart Paste needs to type the paste keystroke in the application you were "
                       "working in, and it cannot on this desktop: ") +
            missing +
            QStringLiteral(". Until it can, Smart Paste falls back to a plain copy: the text goes to "
                           "the clipboard and you paste it yourself."));
}

} // namespace driftmark
