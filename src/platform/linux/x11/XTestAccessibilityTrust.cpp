#include "platform/linux/x11/XTestAccessibilityTrust.h"

#include "platform/linux/x11/X11Connection.h"
#include "platform/linux/x11/X11Context.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

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
    // One notice at a time: asking again brings the open one forward.
    if (notice_ == nullptr) {
        notice_ = new QMessageBox;
        notice_->setAttribute(Qt::WA_DeleteOnClose);
        notice_->setWindowTitle(QStringLiteral("Driftmark"));
        notice_->setStandardButtons(QMessageBox::Ok);
        // With a second button a message box no longer knows which one closing it means, and refuses to
        // close, which would also hold up quitting.
        notice_->setEscapeButton(QMessageBox::Ok);
        notice_->setWindowModality(Qt::NonModal);
        // The website explains Smart Paste and what each kind of desktop needs for it.
        QPushButton* help = notice_->addButton(QStringLiteral("Open Help Page"), QMessageBox::HelpRole);
        QObject::connect(help, &QPushButton::clicked,
                         [] { QDesktopServices::openUrl(QUrl(QStringLiteral("https://driftmark.app"))); });
    }
    if (trusted) {
        notice_->setIcon(QMessageBox::Information);
        notice_->setText(QStringLiteral("Smart Paste can paste for you."));
        notice_->setInformativeText(QStringLiteral(
            "This display lets Driftmark synthesise keystrokes (the X server offers the XTEST "
            "extension), so Smart Paste types the paste shortcut into the application you were "
            "working in."));
    } else {
        notice_->setIcon(QMessageBox::Warning);
        notice_->setText(QStringLiteral("Smart Paste cannot paste on this display."));
        notice_->setInformativeText(QStringLiteral(
            "Smart Paste needs to synthesise the paste keystroke in the application you were "
            "working in, and this display does not allow it: the X server does not offer the "
            "XTEST extension (as in a Wayland session without X11 input). Until it does, Smart "
            "Paste falls back to a plain copy: the text goes to the clipboard and you paste it "
            "yourself."));
    }
    notice_->show();
    notice_->raise();
    notice_->activateWindow();
}

} // namespace driftmark
