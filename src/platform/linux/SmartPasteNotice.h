#pragma once

#include <QPointer>
#include <QString>

class QMessageBox;

namespace driftmark {

// The small notice that tells the user whether Smart Paste can type into other applications on this
// desktop, and if not, what is missing. It stands in for the accessibility prompt and settings.
class SmartPasteNotice final {
public:
    // Shows the notice with these words, or brings the one already open forward with them.
    void show(bool canPaste, const QString& headline, const QString& explanation);

private:
    QPointer<QMessageBox> notice_;
};

} // namespace driftmark
