#include "fakes/FakeClipboard.h"

#include <algorithm>

namespace driftmark::test {

Bytes bytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

void FakeClipboard::clearContents() {
    contents.clear();
    timeline_.record(name_, "clear");
}

void FakeClipboard::setString(const std::string& text) {
    write(plainTextType, bytesOf(text));
    timeline_.record(name_, "setString \"" + text + "\"");
}

std::optional<std::string> FakeClipboard::string() const {
    const auto bytes = data(plainTextType);
    if (!bytes) {
        return std::nullopt;
    }
    return std::string(bytes->begin(), bytes->end());
}

std::optional<Bytes> FakeClipboard::data(const std::string& type) const {
    const auto found = std::find_if(contents.begin(), contents.end(),
                                    [&type](const auto& entry) { return entry.first == type; });
    if (found == contents.end()) {
        return std::nullopt;
    }
    return found->second;
}

void FakeClipboard::setData(const Bytes& bytes, const std::string& type) {
    write(type, bytes);
    timeline_.record(name_, "setData " + type);
}

void FakeClipboard::read(std::function<void(ClipboardReading)> completion) {
    stopReading();
    timeline_.record(name_, "read");
    pendingRead_ = std::move(completion);
    if (answersAtOnce && neverAnswered.empty() && !neverLists) {
        finishRead(false);
    }
}

void FakeClipboard::stopReading() {
    if (pendingRead_) {
        timeline_.record(name_, "read stopped");
        finishRead(true);
    }
}

void FakeClipboard::notifyOnNextTextRead(std::function<void()> read) {
    const std::uint64_t request = ++textReadRequest_;
    textRead_ = std::move(read);
    if (textRead_ && pasteReadsAfter) {
        mainQueue_.asyncAfter(*pasteReadsAfter, [this, request] {
            if (request == textReadRequest_) {
                readTextNow();
            }
        });
    }
}

void FakeClipboard::readTextNow() {
    if (textRead_) {
        timeline_.record(name_, "text read");
        std::exchange(textRead_, {})();
    }
}

void FakeClipboard::answerRead() {
    if (pendingRead_) {
        finishRead(false);
    }
}

void FakeClipboard::finishRead(bool stopped) {
    ClipboardReading reading;
    reading.stopped = stopped;
    reading.listed = listsTypes && !neverLists;
    if (reading.listed) {
        for (const auto& [type, bytes] : contents) {
            if (std::find(neverAnswered.begin(), neverAnswered.end(), type) != neverAnswered.end()) {
                reading.unanswered.push_back(type);
            } else if (bytes) {
                reading.contents.emplace_back(type, *bytes);
            }
        }
    }
    std::exchange(pendingRead_, {})(std::move(reading));
}

void FakeClipboard::write(const std::string& type, Bytes bytes) {
    const auto found = std::find_if(contents.begin(), contents.end(),
                                    [&type](const auto& entry) { return entry.first == type; });
    if (found != contents.end()) {
        found->second = std::move(bytes);
    } else {
        contents.emplace_back(type, std::move(bytes));
    }
}

} // namespace driftmark::test
