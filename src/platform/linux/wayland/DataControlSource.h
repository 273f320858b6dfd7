#pragma once

#include "platform/linux/TextReadNotice.h"

#include <QByteArray>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct zwlr_data_control_source_v1;

namespace driftmark {

class PipeWriters;
class WaylandConnection;

// One set of contents that Driftmark puts on a selection: it offers each type, and gives the type's bytes
// to every program that asks, for as long as the source lives, telling a listener of each type asked for.
class DataControlSource final {
public:
    using Contents = std::vector<std::pair<std::string, QByteArray>>;

    // `cancelled` hears that another selection replaced this one; it may destroy the source.
    DataControlSource(WaylandConnection& connection, PipeWriters& writers, Contents contents,
                      std::function<void()> cancelled, TextReadNotice::RequestListener requested);
    ~DataControlSource();
    DataControlSource(const DataControlSource&) = delete;
    DataControlSource& operator=(const DataControlSource&) = delete;

    zwlr_data_control_source_v1* source() const { return source_; }

private:
    static void send(void* data, zwlr_data_control_source_v1* source, const char* type, std::int32_t fd);
    static void cancel(void* data, zwlr_data_control_source_v1* source);

    PipeWriters& writers_;
    Contents contents_;
    std::function<void()> cancelled_;
    TextReadNotice::RequestListener requested_;
    zwlr_data_control_source_v1* source_ = nullptr;
};

} // namespace driftmark
