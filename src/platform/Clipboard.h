#pragma once

#include "platform/PreferencesStore.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace driftmark {

// What a read of the clipboard brought back.
struct ClipboardReading {
    // Whether the clipboard listed its types: not when nobody owns it, nor when its owner refused or
    // did not answer before the read was stopped.
    bool listed = false;
    // Each listed type that gave bytes, in listed order.
    std::vector<std::pair<std::string, Bytes>> contents;
    // Listed types whose bytes had not come when the read was stopped.
    std::vector<std::string> unanswered;
    // The read was stopped before the clipboard's owner had answered everything.
    bool stopped = false;
};

// The system clipboard. Types are MIME type names; "text/plain;charset=utf-8" is the plain-text type.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void clearContents() = 0;
    // Writes the text as the plain-text type, beside what was written since the last clear.
    virtual void setString(const std::string& text) = 0;
    // The plain text that Driftmark itself put on the clipboard; absent once another program owns it.
    virtual std::optional<std::string> string() const = 0;
    // Writes bytes under a type, beside what was written since the last clear.
    virtual void setData(const Bytes& bytes, const std::string& type) = 0;

    // Reads every type the clipboard offers without ever waiting on its owner: `completion` runs once,
    // on the main thread, when the owner has answered everything or the read is stopped, possibly
    // before this returns. Starting a read stops the one in progress.
    virtual void read(std::function<void(ClipboardReading)> completion) = 0;
    // Ends the read in progress, if any: its completion gets what has come so far.
    virtual void stopReading() = 0;

    // Calls `read` once, on the main thread and never from within this call, after another program has
    // next asked for plain text that Driftmark put on the clipboard: a paste taking it. A later call
    // replaces the one waiting; an empty function cancels it.
    virtual void notifyOnNextTextRead(std::function<void()> read) = 0;
};

} // namespace driftmark
