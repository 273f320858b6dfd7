#include "platform/linux/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>
#include <array>
#include <string_view>

namespace driftmark {

namespace {

constexpr std::string_view plainText = "text/plain";
constexpr std::string_view plainTextUtf8 = "text/plain;charset=utf-8";

// Targets that belong to the selection protocol rather than to the contents, and the image type that
// Qt adds to any clipboard holding an image. Saving and restoring them would offer false types.
constexpr std::array<std::string_view, 5> notContentTypes = {"TARGETS", "MULTIPLE", "TIMESTAMP",
                                                             "SAVE_TARGETS", "application/x-qt-image"};

QString qString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Reading never blocks on ourselves: while Driftmark owns the selection, Qt answers from the
// published QMimeData without a round trip through the X server.
const QMimeData* currentContents() {
    return QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
}

} // namespace

void QtClipboard::clearContents() {
    contents_.clear();
}

void QtClipboard::setString(const std::string& text) {
    // Qt offers text/plain also as UTF8_STRING, STRING and TEXT; GTK programs ask for the explicit
    // UTF-8 type.
    const Bytes bytes(text.begin(), text.end());
    write(std::string(plainText), bytes);
    write(std::string(plainTextUtf8), bytes);
    publish();
}

void QtClipboard::setData(const Bytes& bytes, const std::string& type) {
    write(type, bytes);
    publish();
}

void QtClipboard::write(const std::string& type, const Bytes& bytes) {
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
    for (const auto& [type, bytes] : contents_) {
        mimeData->setData(qString(type), QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<qsizetype>(bytes.size())));
    }
    QGuiApplication::clipboard()->setMimeData(mimeData, QClipboard::Clipboard);
}

std::optional<std::string> QtClipboard::string() const {
    const QMimeData* contents = currentContents();
    if (contents == nullptr ||
        !(contents->hasFormat(qString(plainTextUtf8)) || contents->hasFormat(qString(plainText)))) {
        return std::nullopt;
    }
    return contents->text().toStdString();
}

std::optional<std::vector<std::string>> QtClipboard::types() const {
    const QMimeData* contents = currentContents();
    if (contents == nullptr) {
        return std::nullopt;
    }
    std::vector<std::string> types;
    for (const QString& format : contents->formats()) {
        std::string type = format.toStdString();
        if (std::find(notContentTypes.begin(), notContentTypes.end(), type) == notContentTypes.end()) {
            types.push_back(std::move(type));
        }
    }
    return types;
}

std::optional<Bytes> QtClipboard::data(const std::string& type) const {
    const QMimeData* contents = currentContents();
    if (contents == nullptr || !contents->hasFormat(qString(type))) {
        return std::nullopt;
    }
    // Qt reports a target that the owner refused to convert as empty bytes; such a type is not worth
    // offering again.
    const QByteArray bytes = contents->data(qString(type));
    if (bytes.isEmpty()) {
        return std::nullopt;
    }
    return Bytes(bytes.begin(), bytes.end());
}

} // namespace driftmark
