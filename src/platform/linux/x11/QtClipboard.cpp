#include "platform/linux/x11/QtClipboard.h"

#include "platform/linux/x11/RequestReportingMimeData.h"
#include "platform/linux/x11/X11SelectionReader.h"

#include <QClipboard>
#include <QGuiApplication>
#include <string_view>

namespace driftmark {

namespace {

QString qString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Qt's own test of ownership by mode is not public.
bool ownsSelection(QClipboard::Mode mode) {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    return mode == QClipboard::Selection ? clipboard->ownsSelection() : clipboard->ownsClipboard();
}

} // namespace

QtClipboard::QtClipboard(QClipboard::Mode mode)
    : mode_(mode)
    , reader_(std::make_unique<X11SelectionReader>(mode == QClipboard::Selection ? "PRIMARY" : "CLIPBOARD")) {
    ownerWatch_ = QObject::connect(QGuiApplication::clipboard(), &QClipboard::changed, qApp,
                                   [this](QClipboard::Mode changed) {
                                       if (changed == mode_) {
                                           ownerChanged();
                                       }
                                   });
}

QtClipboard::~QtClipboard() {
    QObject::disconnect(ownerWatch_);
}

void QtClipboard::clearContents() {
    contents_.clear();
}

void QtClipboard::setString(const std::string& text) {
    // Qt offers text/plain also as UTF8_STRING, STRING and TEXT.
    contents_.writeText(text);
    publish();
}

void QtClipboard::setData(const Bytes& bytes, const std::string& type) {
    contents_.write(
        type, QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
    publish();
}

void QtClipboard::publish() const {
    // Raw bytes under their own type only: QMimeData::setImageData would make Qt re-encode the image
    // and offer every image format it can write instead of the saved bytes.
    auto* mimeData = new RequestReportingMimeData(textReads_.requestListener());
    for (const auto& [type, bytes] : contents_.entries()) {
        mimeData->setData(qString(type), bytes);
    }
    QGuiApplication::clipboard()->setMimeData(mimeData, mode_);
    contents_.published();
}

bool QtClipboard::ownsContents() const {
    return !contents_.empty() && ownsSelection(mode_);
}

void QtClipboard::ownerChanged() {
    if (contents_.empty() || ownsSelection(mode_)) {
        return;
    }
    // Another program owns the selection: Qt lets go of what it published, and so do we.
    contents_.drop();
}

std::optional<std::string> QtClipboard::string() const {
    return ownsContents() ? contents_.text() : std::nullopt;
}

void QtClipboard::read(std::function<void(ClipboardReading)> completion) {
    // What Driftmark published itself needs no round trip.
    if (ownsContents()) {
        reader_->stop();
        completion(contents_.reading());
        return;
    }
    reader_->start(std::move(completion));
}

void QtClipboard::stopReading() {
    reader_->stop();
}

void QtClipboard::notifyOnNextTextRead(std::function<void()> read) {
    textReads_.await(std::move(read));
}

} // namespace driftmark
