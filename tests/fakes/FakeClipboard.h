#pragma once

#include "fakes/Timeline.h"
#include "platform/Clipboard.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace driftmark::test {

// The clipboard as a list of types, in listed order, each with its bytes (absent: listed, but the
// clipboard gives no bytes for it). Changes go on the timeline as "clipboard: ...".
class FakeClipboard final : public Clipboard {
public:
    static constexpr const char* plainTextType = "text/plain;charset=utf-8";
    using Contents = std::vector<std::pair<std::string, std::optional<Bytes>>>;

    explicit FakeClipboard(Timeline& timeline)
        : timeline_(timeline) {}

    void clearContents() override;
    void setString(const std::string& text) override;
    std::optional<std::string> string() const override;
    std::optional<std::vector<std::string>> types() const override;
    std::optional<Bytes> data(const std::string& type) const override;
    void setData(const Bytes& bytes, const std::string& type) override;

    Contents contents;
    // When false, the clipboard cannot list its types.
    bool listsTypes = true;

private:
    void write(const std::string& type, Bytes bytes);

    Timeline& timeline_;
};

Bytes bytesOf(std::string_view text);

} // namespace driftmark::test
