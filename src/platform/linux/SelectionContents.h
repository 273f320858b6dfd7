#pragma once

#include "platform/Clipboard.h"

#include <QByteArray>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace driftmark {

// What Driftmark has written to one selection since the last clear, whichever way it is published: each
// type with its bytes, in write order, a type written again keeping its place. The bytes are shared with
// what is published, not copied.
class SelectionContents {
public:
    using Entries = std::vector<std::pair<std::string, QByteArray>>;

    const Entries& entries() const { return entries_; }
    bool empty() const { return entries_.empty(); }

    void clear();
    void write(const std::string& type, const QByteArray& bytes);
    // Plain text goes under both of its names: some programs ask for the explicit UTF-8 type only.
    void writeText(const std::string& text);

    // The plain text, when some was written.
    std::optional<std::string> text() const;
    // Everything, as a read of the selection would bring it back.
    ClipboardReading reading() const;

    // Large contents just published are, as a rule, a saved selection put back, whose saved copy the
    // caller drops now: the freed memory is handed back to the system on the next turn of the event loop.
    void published() const;
    // Another program's selection replaced these contents: they go, and their memory with them.
    void drop();

private:
    std::size_t size() const;

    Entries entries_;
};

} // namespace driftmark
