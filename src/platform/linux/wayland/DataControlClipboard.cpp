#include "platform/linux/wayland/DataControlClipboard.h"

#include "platform/linux/wayland/ContentTypes.h"
#include "platform/linux/wayland/DataControlSource.h"
#include "platform/linux/wayland/WaylandConnection.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <malloc.h>
#include <string_view>
#include <wayland-client.h>

namespace driftmark {

namespace {

constexpr std::string_view plainText = "text/plain";
constexpr std::string_view plainTextUtf8 = "text/plain;charset=utf-8";

// Handing freed memory back to the system pays only after contents of this size.
constexpr std::size_t largeContents = std::size_t{1} << 20;

std::size_t sizeOf(const std::vector<std::pair<std::string, QByteArray>>& contents) {
    std::size_t size = 0;
    for (const auto& entry : contents) {
        size += static_cast<std::size_t>(entry.second.size());
    }
    return size;
}

// Large blocks freed after a large selection stay with the process unless they are handed back. Done on
// the next turn of the event loop, by when the caller has dropped its own copy as well.
void returnFreedMemoryLater() {
    QTimer::singleShot(0, QCoreApplication::instance(), [] { ::malloc_trim(0); });
}

} // namespace

DataControlClipboard::DataControlClipboard(WaylandConnection& connection, DataControlSelection selection)
    : connection_(connection)
    , device_(connection, selection)
    , reader_(connection) {}

DataControlClipboard::~DataControlClipboard() {
    if (listing_ != nullptr) {
        wl_callback_destroy(listing_);
    }
}

void DataControlClipboard::clearContents() {
    contents_.clear();
}

void DataControlClipboard::setString(const std::string& text) {
    const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    write(std::string(plainText), bytes);
    write(std::string(plainTextUtf8), bytes);
    publish();
}

void DataControlClipboard::setData(const Bytes& bytes, const std::string& type) {
    write(type,
          QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
    publish();
}

void DataControlClipboard::write(const std::string& type, const QByteArray& bytes) {
    const auto existing = std::find_if(contents_.begin(), contents_.end(),
                                       [&](const auto& entry) { return entry.first == type; });
    if (existing != contents_.end()) {
        existing->second = bytes;
    } else {
        contents_.emplace_back(type, bytes);
    }
}

// The new source becomes the selection before the old one is withdrawn, so that nobody sees an empty
// selection in between. Without a compositor nothing is published, and nothing is owned.
void DataControlClipboard::publish() {
    if (connection_.lost() || !device_.available()) {
        source_.reset();
        return;
    }
    auto source =
        std::make_unique<DataControlSource>(connection_, writers_, contents_, [this] { cancelled(); });
    device_.setSelection(source->source());
    source_ = std::move(source);
    connection_.flush();
    // Large contents written here are, as a rule, a saved clipboard put back, whose saved copy goes now.
    if (sizeOf(contents_) >= largeContents) {
        returnFreedMemoryLater();
    }
}

bool DataControlClipboard::ownsContents() const {
    return !contents_.empty() && source_ != nullptr && !connection_.lost();
}

// Another program's selection replaced ours: the source goes, and so do the contents.
void DataControlClipboard::cancelled() {
    const std::size_t size = sizeOf(contents_);
    source_.reset();
    contents_.clear();
    contents_.shrink_to_fit();
    if (size >= largeContents) {
        returnFreedMemoryLater();
    }
}

std::optional<std::string> DataControlClipboard::string() const {
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

void DataControlClipboard::read(std::function<void(ClipboardReading)> completion) {
    stopReading();
    // What Driftmark published itself needs no round trip.
    if (ownsContents()) {
        ClipboardReading reading;
        reading.listed = true;
        for (const auto& [type, bytes] : contents_) {
            reading.contents.emplace_back(type, Bytes(bytes.begin(), bytes.end()));
        }
        completion(std::move(reading));
        return;
    }
    if (connection_.lost()) {
        completion(ClipboardReading{});
        return;
    }
    static const wl_callback_listener listener = {.done = &DataControlClipboard::listed};
    listingCompletion_ = std::move(completion);
    listing_ = wl_display_sync(connection_.display());
    wl_callback_add_listener(listing_, &listener, this);
    connection_.flush();
}

void DataControlClipboard::listed(void* data, wl_callback* callback, std::uint32_t) {
    auto* self = static_cast<DataControlClipboard*>(data);
    wl_callback_destroy(callback);
    self->listing_ = nullptr;
    auto completion = std::exchange(self->listingCompletion_, {});
    if (self->device_.offer() == nullptr) {
        completion(ClipboardReading{});
        return;
    }
    self->reader_.start(self->device_.offer(), contentTypes(self->device_.offeredTypes()),
                        std::move(completion));
}

void DataControlClipboard::stopReading() {
    if (listing_ != nullptr) {
        wl_callback_destroy(listing_);
        listing_ = nullptr;
        ClipboardReading reading;
        reading.stopped = true;
        std::exchange(listingCompletion_, {})(std::move(reading));
        return;
    }
    reader_.stop();
}

} // namespace driftmark
