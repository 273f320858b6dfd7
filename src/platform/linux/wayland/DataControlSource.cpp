#include "platform/linux/wayland/DataControlSource.h"

#include "platform/linux/wayland/PipeWriters.h"
#include "platform/linux/wayland/WaylandConnection.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <algorithm>
#include <unistd.h>

namespace driftmark {

DataControlSource::DataControlSource(WaylandConnection& connection, PipeWriters& writers, Contents contents,
                                     std::function<void()> cancelled,
                                     TextReadNotice::RequestListener requested)
    : writers_(writers)
    , contents_(std::move(contents))
    , cancelled_(std::move(cancelled))
    , requested_(std::move(requested)) {
    static const zwlr_data_control_source_v1_listener listener = {
        .send = &DataControlSource::send,
        .cancelled = &DataControlSource::cancel,
    };
    source_ = zwlr_data_control_manager_v1_create_data_source(connection.dataControlManager());
    zwlr_data_control_source_v1_add_listener(source_, &listener, this);
    for (const auto& entry : contents_) {
        zwlr_data_control_source_v1_offer(source_, entry.first.c_str());
    }
}

// Transfers under way go on without the source.
DataControlSource::~DataControlSource() {
    zwlr_data_control_source_v1_destroy(source_);
}

void DataControlSource::send(void* data, zwlr_data_control_source_v1*, const char* type, std::int32_t fd) {
    auto* self = static_cast<DataControlSource*>(data);
    const auto found = std::find_if(self->contents_.begin(), self->contents_.end(),
                                    [type](const auto& entry) { return entry.first == type; });
    if (found == self->contents_.end()) {
        ::close(fd);
        return;
    }
    self->writers_.write(fd, found->second);
    self->requested_(found->first);
}

// A copy is called, since the call may destroy the source and with it the original.
void DataControlSource::cancel(void* data, zwlr_data_control_source_v1*) {
    const std::function<void()> cancelled = static_cast<DataControlSource*>(data)->cancelled_;
    cancelled();
}

} // namespace driftmark
