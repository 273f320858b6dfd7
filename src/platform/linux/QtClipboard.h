#pragma once

#include "platform/Clipboard.h"

#include <utility>

namespace driftmark {

// The X11 CLIPBOARD selection through QClipboard. Writes collect into one set of contents that is
// published as a whole on every write, so a clipboard manager never sees an empty clipboard between
// the clear and the first write. Once published, Qt serves the contents for as long as the
// application runs.
class QtClipboard final : public Clipboard {
public:
    void clearContents() override;
    void setString(const std::string& text) override;
    std::optional<std::string> string() const override;
    std::optional<std::vector<std::string>> types() const override;
    std::optional<Bytes> data(const std::string& type) const override;
    void setData(const Bytes& bytes, const std::string& type) override;

private:
    void write(const std::string& type, const Bytes& bytes);
    void publish() const;

    // Everything written since the last clear, in write order; a type written again keeps its place.
    std::vector<std::pair<std::string, Bytes>> contents_;
};

} // namespace driftmark
