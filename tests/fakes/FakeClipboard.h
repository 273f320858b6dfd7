#pragma once

#include "fakes/ManualMainQueue.h"
#include "fakes/Timeline.h"
#include "platform/Clipboard.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace driftmark::test {

// The clipboard as a list of types, in listed order, each with its bytes (absent: listed, but the
// clipboard gives no bytes for it). Changes and reads go on the timeline under the clipboard's name, as
// "clipboard: ...". A read is answered at once unless the test holds the answer back or sets an owner that
// leaves types unanswered. A program pastes the text a set time after Driftmark asks to hear of it.
class FakeClipboard final : public Clipboard {
public:
    static constexpr const char* plainTextType = "text/plain;charset=utf-8";
    using Contents = std::vector<std::pair<std::string, std::optional<Bytes>>>;

    FakeClipboard(Timeline& timeline, ManualMainQueue& mainQueue, std::string name = "clipboard")
        : timeline_(timeline)
        , mainQueue_(mainQueue)
        , name_(std::move(name)) {}

    void clearContents() override;
    void setString(const std::string& text) override;
    std::optional<std::string> string() const override;
    void setData(const Bytes& bytes, const std::string& type) override;
    void read(std::function<void(ClipboardReading)> completion) override;
    void stopReading() override;
    void notifyOnNextTextRead(std::function<void()> read) override;

    // The bytes the clipboard holds under a type now.
    std::optional<Bytes> data(const std::string& type) const;
    // Answers the read in progress with everything the owner gives.
    void answerRead();
    bool isReading() const { return static_cast<bool>(pendingRead_); }
    // Another program reads the text now; whoever waits for that hears of it.
    void readTextNow();
    bool awaitsTextRead() const { return static_cast<bool>(textRead_); }

    Contents contents;
    // When false, the clipboard cannot list its types (nobody owns it).
    bool listsTypes = true;
    // When false, a read waits for answerRead() or for being stopped.
    bool answersAtOnce = true;
    // Types whose owner never answers, and whether it does not even list its types: a read then ends
    // only when it is stopped.
    std::vector<std::string> neverAnswered;
    bool neverLists = false;
    // How long after Driftmark asks to hear of the next read a program reads the text (the paste that
    // Driftmark has just typed); absent, nobody does.
    std::optional<double> pasteReadsAfter = 0.0;

private:
    void write(const std::string& type, Bytes bytes);
    void finishRead(bool stopped);

    Timeline& timeline_;
    ManualMainQueue& mainQueue_;
    std::string name_;
    std::function<void(ClipboardReading)> pendingRead_;
    std::function<void()> textRead_;
    // Numbers the requests to hear of a read: a paste scheduled for one is not another's.
    std::uint64_t textReadRequest_ = 0;
};

Bytes bytesOf(std::string_view text);

} // namespace driftmark::test
