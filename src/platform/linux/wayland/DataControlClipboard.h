#pragma once

#include "platform/Clipboard.h"
#include "platform/linux/SelectionContents.h"
#include "platform/linux/TextReadNotice.h"
#include "platform/linux/wayland/DataControlDevice.h"
#include "platform/linux/wayland/DataControlOfferReader.h"
#include "platform/linux/wayland/PipeWriters.h"

#include <QByteArray>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct wl_callback;

namespace driftmark {

class DataControlSource;
class WaylandConnection;

// One selection of a wlroots-based compositor (the clipboard, or the primary selection), over the
// data-control protocol on Driftmark's own Wayland connection: it needs no window and no focus. Writes
// collect into one set of contents that is published as a whole on every write, as a source that serves
// them for as long as it stays the selection. Reads ask the current selection's owner for every type at
// once and never wait for it.
class DataControlClipboard final : public Clipboard {
public:
    DataControlClipboard(WaylandConnection& connection, DataControlSelection selection);
    ~DataControlClipboard() override;
    DataControlClipboard(const DataControlClipboard&) = delete;
    DataControlClipboard& operator=(const DataControlClipboard&) = delete;

    void clearContents() override;
    void setString(const std::string& text) override;
    std::optional<std::string> string() const override;
    void setData(const Bytes& bytes, const std::string& type) override;
    void read(std::function<void(ClipboardReading)> completion) override;
    void stopReading() override;
    void notifyOnNextTextRead(std::function<void()> read) override;

private:
    void publish();
    bool ownsContents() const;
    void cancelled();
    static void listed(void* data, wl_callback* callback, std::uint32_t serial);

    WaylandConnection& connection_;
    DataControlDevice device_;
    PipeWriters writers_;
    DataControlOfferReader reader_;
    // Dropped once another selection replaces it.
    SelectionContents contents_;
    std::unique_ptr<DataControlSource> source_;
    // The sources tell of the types programs ask them for.
    TextReadNotice textReads_;
    // A read waits for the compositor to have told of every selection change before its own request,
    // so that it reads the selection of now, not the one of the last event dispatched.
    wl_callback* listing_ = nullptr;
    std::function<void(ClipboardReading)> listingCompletion_;
};

} // namespace driftmark
