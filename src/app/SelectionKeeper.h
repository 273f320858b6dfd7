#pragma once

#include "app/ClipboardContents.h"
#include "app/LivenessToken.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace driftmark {

class CategoryLog;
class Clipboard;
class DelegateLogWriter;
class MainQueue;
struct ClipboardReading;

// Keeps what the user had in one selection (the clipboard, or PRIMARY) while a Smart Paste writes its
// own text there, and puts it back afterwards. The save never waits on the selection's owner for long:
// what has come when the time is up is what is kept, and the log says what was lost.
class SelectionKeeper final {
public:
    // `name` starts each log line, as in "Clipboard restored after 0.8s delay".
    SelectionKeeper(Clipboard& selection, MainQueue& mainQueue, CategoryLog& logger,
                    DelegateLogWriter& logWriter, std::string name);
    SelectionKeeper(const SelectionKeeper&) = delete;
    SelectionKeeper& operator=(const SelectionKeeper&) = delete;

    // Reads the selection, replacing what an earlier save kept; `saved` runs once the read has ended,
    // possibly before this returns. A save started meanwhile takes over: this one's `saved` never runs.
    void save(std::function<void()> saved);
    bool isSaving() const { return saving_; }
    // Ends a save in progress without keeping anything from it; its `saved` never runs.
    void abandon();
    // Puts back what was kept; `when` tells the log, e.g. "after 0.8s delay".
    void restore(const std::string& when);
    // Lets go of what was kept without putting it back.
    void forget();

private:
    void readingEnded(std::uint64_t save, ClipboardReading reading);

    Clipboard& selection_;
    MainQueue& mainQueue_;
    CategoryLog& logger_;
    DelegateLogWriter& logWriter_;
    std::string name_;
    std::function<void()> saved_;
    // Numbers the saves: only the latest one's outcome counts, and only while it runs.
    std::uint64_t save_ = 0;
    bool saving_ = false;
    std::optional<ClipboardContents> kept_;
    // What the save could not keep: types whose owner did not answer in time, or the whole selection
    // when the owner did not even list its types.
    std::vector<std::string> lostTypes_;
    bool typesUnlisted_ = false;
    // Callbacks handed to the selection and the queue do nothing once this keeper is gone.
    LivenessToken liveness_;
};

} // namespace driftmark
