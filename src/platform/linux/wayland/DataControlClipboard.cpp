#include "platform/linux/wayland/DataControlClipboard.h"

#include "platform/linux/ContentTypes.h"
#include "platform/linux/wayland/DataControlSource.h"
#include "platform/linux/wayland/WaylandConnection.h"

#include <wayland-client.h>

namespace driftmark {

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
    contents_.writeText(text);
    publish();
}

void DataControlClipboard::setData(const Bytes& bytes, const std::string& type) {
    contents_.write(
        type, QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
    publish();
}

// The new source becomes the selection before the old one is withdrawn, so that nobody sees an empty
// selection in between. Without a compositor nothing is published, and nothing is owned.
void DataControlClipboard::publish() {
    if (connection_.lost() || !device_.available()) {
        source_.reset();
        return;
    }
    auto source = std::make_unique<DataControlSource>(
        connection_, writers_, contents_.entries(), [this] { cancelled(); }, textReads_.requestListener());
    device_.setSelection(source->source());
    source_ = std::move(source);
    connection_.flush();
    contents_.published();
}

bool DataControlClipboard::ownsContents() const {
    return !contents_.empty() && source_ != nullptr && !connection_.lost();
}

// Another program's selection replaced ours: the source goes, and so do the contents.
void DataControlClipboard::cancelled() {
    source_.reset();
    contents_.drop();
}

std::optional<std::string> DataControlClipboard::string() const {
    return ownsContents() ? contents_.text() : std::nullopt;
}

void DataControlClipboard::read(std::function<void(ClipboardReading)> completion) {
    stopReading();
    // What Driftmark published itself needs no round trip.
    if (ownsContents()) {
        completion(contents_.reading());
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

void DataControlClipboard::notifyOnNextTextRead(std::function<void()> read) {
    textReads_.await(std::move(read));
}

} // namespace driftmark
