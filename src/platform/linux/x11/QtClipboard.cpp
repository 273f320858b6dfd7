#include "platform/linux/x11/QtClipboard.h"

#include "platform/linux/x11/X11SelectionReader.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>
#include <algorithm>
#include <malloc.h>
#include <string_view>

namespace driftmark {

namespace {

constexpr std::string_view plainText = "text/plain";
constexpr std::string_view plainTextUtf8 = "text/plain;charset=utf-8";

// Handing freed memory back to the system pays only after contents of this size.
constexpr std::size_t largeContents = std::size_t{1} << 20;

QString qString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Large blocks freed after a large clipboard stay with the process unless they are handed back; malloc
// keeps them once its thresholds have grown with the large allocations. Done on the next turn of the
// event loop, by when the caller has dropped its own copy as well.
void returnFreedMemoryLater() {
    QTimer::singleShot(0, qApp, [] { ::malloc_trim(0); });
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
    // Qt offers text/plain also as UTF8_STRING, STRING and TEXT; GTK programs ask for the explicit
    // UTF-8 type.
    const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    write(std::string(plainText), bytes);
    write(std::string(plainTextUtf8), bytes);
    publish();
}

void QtClipboard::setData(const Bytes& bytes, const std::string& type) {
    write(type,
          QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
    publish();
}

void QtClipboard::write(const std::string& type, const QByteArray& bytes) {
    const auto existing = std::find_if(contents_.begin(), contents_.end(),
                                       [&](const auto& entry) { return entry.first == type; });
    if (existing != contents_.end()) {
        existing->second = bytes;
    } else {
        contents_.emplace_back(type, bytes);
    }
}

void QtClipboard::publish() const {
    // Raw bytes under their own type only: QMimeData::setImageData would make Qt re-encode the image
    // and offer every image format it can write instead of the saved bytes.
    auto* mimeData = new QMimeData;
    std::size_t size = 0;
    for (const auto& [type, bytes] : contents_) {
        mimeData->setData(qString(type), bytes);
        size += static_cast<std::size_t>(bytes.size());
    }
    QGuiApplication::clipboard()->setMimeData(mimeData, mode_);
    // Large contents written here are, as a rule, a saved clipboard put back, whose saved copy goes now.
    if (size >= largeContents) {
        returnFreedMemoryLater();
    }
}

bool QtClipboard::ownsContents() const {
    return !contents_.empty() && ownsSelection(mode_);
}

void QtClipboard::ownerChanged() {
    if (contents_.empty() || ownsSelection(mode_)) {
        return;
    }
    // Another program owns the selection: Qt lets go of what it published, and so do we.
    std::size_t size = 0;
    for (const auto& entry : contents_) {
        size += static_cast<std::size_t>(entry.second.size());
    }
    contents_.clear();
    contents_.shrink_to_fit();
    if (size >= largeContents) {
        returnFreedMemoryLater();
    }
}

std::optional<std::string> QtClipboard::string() const {
    if (!ownsContents()) {
        return std::nullopt;
    }
    for (const std::string_view type : {plainTextUtf8, plainText}) {
        const auto found = std::find_if(contents_.begin(), contents_.end(),
                                        [type](const auto& entry) { return entry.first == type; });
        if (found != contents_.end()) {
            return found->second.toStdString();
        }
    }
    return std::nullopt;
}

void QtClipboard::read(std::function<void(ClipboardReading)> completion) {
    // What Driftmark published itself needs no round trip.
    if (ownsContents()) {
        reader_->stop();
        ClipboardReading reading;
        reading.listed = true;
        for (const auto& [type, bytes] : contents_) {
            reading.contents.emplace_back(type, Bytes(bytes.begin(), bytes.end()));
        }
        completion(std::move(reading));
        return;
    }
    reader_->start(std::move(completion));
}

void QtClipboard::stopReading() {
    reader_->stop();
}

} // namespace driftmark
