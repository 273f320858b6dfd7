#include "platform/linux/SmartPasteNotice.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace driftmark {

void SmartPasteNotice::show(bool canPaste, const QString& headline, const QString& explanation) {
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
    notice_->setIcon(canPaste ? QMessageBox::Information : QMessageBox::Warning);
    notice_->setText(headline);
    notice_->setInformativeText(explanation);
    notice_->show();
    notice_->raise();
    notice_->activateWindow();
}

} // namespace driftmark
