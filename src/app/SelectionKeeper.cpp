#include "app/SelectionKeeper.h"

#include "app/LogText.h"
#include "platform/Clipboard.h"
#include "platform/MainQueue.h"
#include "platform/SystemLog.h"
#include "support/DelegateLogWriter.h"

#include <utility>

namespace driftmark {

namespace {

// How long the save may wait for the selection's owner, all types together: well inside the time a
// user waits for the paste anyway.
constexpr double saveTimeLimit = 0.3;

} // namespace

SelectionKeeper::SelectionKeeper(Clipboard& selection, MainQueue& mainQueue, CategoryLog& logger,
                                 DelegateLogWriter& logWriter, std::string name)
    : selection_(selection)
    , mainQueue_(mainQueue)
    , logger_(logger)
    , logWriter_(logWriter)
    , name_(std::move(name)) {}

void SelectionKeeper::save(std::function<void()> saved) {
    const std::uint64_t save = ++save_;
    saving_ = true;
    saved_ = std::move(saved);
    selection_.read(
        liveness_.guard([this, save](ClipboardReading reading) { readingEnded(save, std::move(reading)); }));
    if (!saving_ || save != save_) {
        return;
    }
    // An owner that never answers must not hold the paste up: what has come by then is what is kept.
    mainQueue_.asyncAfter(saveTimeLimit, liveness_.guard([this, save] {
        if (saving_ && save_ == save) {
            selection_.stopReading();
        }
    }));
}

void SelectionKeeper::readingEnded(std::uint64_t save, ClipboardReading reading) {
    // A later save has replaced what this one read.
    if (save != save_ || !saving_) {
        return;
    }
    saving_ = false;
    lostTypes_ = reading.unanswered;
    typesUnlisted_ = reading.stopped && !reading.listed;
    const bool stopped = reading.stopped;
    kept_ = savedClipboardContents(std::move(reading));
    if (stopped) {
        std::string outcome = name_ + " save stopped after " + shortestDecimal(saveTimeLimit) + "s: ";
        if (typesUnlisted_) {
            outcome += "its owner did not list its types";
        } else {
            outcome += "no answer for " + typeList(lostTypes_) +
                       (kept_ ? "; saved " + typeList(typesOf(*kept_)) : "; nothing saved");
        }
        logger_.error(outcome);
        logWriter_.logToFile(outcome);
    }
    std::exchange(saved_, {})();
}

void SelectionKeeper::abandon() {
    // Counted first: the stopped read's outcome then no longer counts.
    ++save_;
    saving_ = false;
    saved_ = {};
    selection_.stopReading();
}

void SelectionKeeper::restore(const std::string& when) {
    auto kept = std::exchange(kept_, std::nullopt);
    const auto lost = std::exchange(lostTypes_, {});
    const bool unlisted = std::exchange(typesUnlisted_, false);
    restoreClipboardContents(selection_, kept);
    // Said as it is: a restore that put nothing back is no restore.
    std::string outcome;
    if (kept && lost.empty()) {
        outcome = name_ + " restored " + when;
    } else if (kept) {
        outcome = name_ + " partly restored " + when + ": restored " + typeList(typesOf(*kept)) + "; lost " +
                  typeList(lost) + ", which its owner did not give in time";
    } else if (!lost.empty()) {
        outcome = name_ + " not restored " + when + ": lost " + typeList(lost) +
                  ", which its owner did not give in time; the copied text stays";
    } else if (unlisted) {
        outcome = name_ + " not restored " + when +
                  ": its owner did not list its types in time; the copied text stays";
    } else {
        outcome = name_ + " not restored " + when + ": it held nothing to save; the copied text stays";
    }
    logWriter_.logToFile(outcome);
}

void SelectionKeeper::forget() {
    kept_.reset();
    lostTypes_.clear();
    typesUnlisted_ = false;
}

} // namespace driftmark
