#include "app/SmartPaste.h"

#include "app/LogText.h"
#include "platform/AccessibilityTrust.h"
#include "platform/Clipboard.h"
#include "platform/KeyEventPoster.h"
#include "platform/MainQueue.h"
#include "support/AppLogger.h"
#include "support/DelegateLogWriter.h"

#include <algorithm>
#include <cmath>
#include <source_location>
#include <utility>

namespace driftmark {

namespace {

constexpr double pasteStageDelay = 0.1;
constexpr double activationSettleDelay = 0.5;
constexpr double restoreDelayAfterActivation = 0.8;
constexpr double restoreDelayWithoutActivation = 0.3;
// The restore waits no longer for the window pasted into to read the text.
constexpr double latestRestoreAfterKeystroke = 3.0;
constexpr double newlinePause = 0.05;

// Physical key position of Return on the ANSI layout.
constexpr std::uint16_t returnKey = 36;

std::string nameOrUnknown(const std::optional<RunningApplication>& app) {
    return app && app->localizedName ? *app->localizedName : "Unknown";
}

} // namespace

std::shared_ptr<SmartPaste> SmartPaste::create(const PlatformServices& services, AppLogger& appLogger,
                                               DelegateLogWriter& logWriter, CopiedHandler copied) {
    return std::shared_ptr<SmartPaste>(new SmartPaste(services, appLogger, logWriter, std::move(copied)));
}

SmartPaste::SmartPaste(const PlatformServices& services, AppLogger& appLogger, DelegateLogWriter& logWriter,
                       CopiedHandler copied)
    : logger_(services.systemLog, "AppDelegate")
    , services_(services)
    , appLogger_(appLogger)
    , logWriter_(logWriter)
    , copied_(std::move(copied))
    , clipboard_(services.clipboard, services.mainQueue, logger_, logWriter, "Clipboard")
    , chords_(services.userDefaults, services.systemLog, logWriter)
    , primary_(services.primarySelection, services.mainQueue, logger_, logWriter, "Primary selection") {}

void SmartPaste::start(const MenuBarItem& item, const std::optional<RunningApplication>& previousApp) {
    ++inFlight_;
    if (inFlight_ > 1 && !clipboard_.isSaving()) {
        copyForSmartPaste(item, previousApp);
        return;
    }
    // Our own text must not go on the clipboard before the save has read the user's.
    waitingForSave_.push_back({item, previousApp});
    if (inFlight_ == 1) {
        saveClipboard();
    }
}

void SmartPaste::clipboardReplaced() {
    // A sequence still in flight would put back what the clipboard held before this copy; what the
    // user copied now is what it must put back instead, also when the earlier save is still running.
    if (inFlight_ > 0) {
        saveClipboard();
    }
}

void SmartPaste::saveClipboard() {
    clipboard_.save([this] { clipboardSaved(); });
}

void SmartPaste::clipboardSaved() {
    for (const auto& [item, previousApp] : std::exchange(waitingForSave_, {})) {
        copyForSmartPaste(item, previousApp);
    }
}

// The copy of a Smart Paste, from which its timings count.
void SmartPaste::copyForSmartPaste(const MenuBarItem& item,
                                   const std::optional<RunningApplication>& previousApp) {
    Clipboard& clipboard = services_.clipboard;
    clipboard.clearContents();
    clipboard.setString(item.text);
    const auto site = std::source_location::current();
    appLogger_.log("Clipboard now contains: '" + clipboard.string().value_or("nil") + "')",
                   AppLogger::LogLevel::debug, site.file_name(),
                   "copyTextToClipboard(for:smartPaste:previousApp:)", site.line());

    services_.mainQueue.asyncAfter(pasteStageDelay, [weak = weak_from_this(), item, previousApp] {
        if (const auto self = weak.lock()) {
            self->pasteStage(item, previousApp);
        }
    });
    copied_(item);
}

void SmartPaste::pasteStage(const MenuBarItem& item, const std::optional<RunningApplication>& previousApp) {
    const auto target = previousApp ? previousApp : services_.workspace.frontmostApplication();
    const PasteChord& chord = chords_.chordFor(target ? target->bundleIdentifier : std::nullopt);
    if (!chord.pastesPrimarySelection) {
        activateAndPaste(item, previousApp, chord);
        return;
    }
    afterPrimarySaved([this, item, previousApp, &chord] {
        services_.primarySelection.clearContents();
        services_.primarySelection.setString(item.text);
        activateAndPaste(item, previousApp, chord);
    });
}

void SmartPaste::afterPrimarySaved(std::function<void()> then) {
    if (primaryTaken_ && !primary_.isSaving()) {
        then();
        return;
    }
    waitingForPrimary_.push_back(std::move(then));
    if (!std::exchange(primaryTaken_, true)) {
        primary_.save([this] {
            for (const auto& waiting : std::exchange(waitingForPrimary_, {})) {
                waiting();
            }
        });
    }
}

void SmartPaste::activateAndPaste(const MenuBarItem& item,
                                  const std::optional<RunningApplication>& previousApp,
                                  const PasteChord& chord) {
    auto restore = std::make_shared<PendingRestore>();
    restore->pastesPrimary = chord.pastesPrimarySelection;
    restores_.push_back(restore);
    if (!previousApp) {
        logger_.debug("No previous app, pasting to current app");
        restore->earliestDelay = restoreDelayWithoutActivation;
        pasteToActiveApp(item, chord, restore, [this, restore] { startEarliestRestore(restore); });
        return;
    }
    restore->earliestDelay = restoreDelayAfterActivation;
    startEarliestRestore(restore);
    logger_.debug("Activating previous app: " + nameOrUnknown(previousApp));
    // A failed activation is only logged: the keystroke then goes to whatever is frontmost.
    const bool activated = services_.workspace.activate(*previousApp);
    logger_.debug(std::string("Activation result: ") + boolText(activated));
    waitForActivation(std::make_shared<ActivationWait>(ActivationWait{item, *previousApp, &chord, restore}));
}

void SmartPaste::waitForActivation(std::shared_ptr<ActivationWait> wait) {
    if (isFrontmost(wait->target)) {
        pasteAfterActivation(wait->item, *wait->chord, wait->restore);
        return;
    }
    activationWaits_.push_back(wait);
    services_.workspace.notifyOnActiveChange([weak = weak_from_this()] {
        if (const auto self = weak.lock()) {
            self->activeApplicationChanged();
        }
    });
    services_.mainQueue.asyncAfter(activationSettleDelay, [weak = weak_from_this(), wait] {
        if (const auto self = weak.lock()) {
            self->activationTimeUp(wait);
        }
    });
}

void SmartPaste::activeApplicationChanged() {
    std::vector<std::shared_ptr<ActivationWait>> active;
    for (const auto& wait : activationWaits_) {
        if (isFrontmost(wait->target)) {
            active.push_back(wait);
        }
    }
    for (const auto& wait : active) {
        stopWaitingFor(wait);
        pasteAfterActivation(wait->item, *wait->chord, wait->restore);
    }
}

// The activation may have been refused without a word (focus-stealing prevention), or the desktop may
// not report it: the keystroke goes out as it always has, to whatever is in front, and the log says so.
void SmartPaste::activationTimeUp(const std::shared_ptr<ActivationWait>& wait) {
    if (std::find(activationWaits_.begin(), activationWaits_.end(), wait) == activationWaits_.end()) {
        return;
    }
    stopWaitingFor(wait);
    if (!isFrontmost(wait->target)) {
        const std::string late = "Target window not active after " + shortestDecimal(activationSettleDelay) +
                                 "s: pasting into " +
                                 nameOrUnknown(services_.workspace.frontmostApplication());
        logger_.info(late);
        logWriter_.logToFile(late);
    }
    pasteAfterActivation(wait->item, *wait->chord, wait->restore);
}

bool SmartPaste::isFrontmost(const RunningApplication& application) const {
    const auto frontmost = services_.workspace.frontmostApplication();
    return frontmost && frontmost->handle == application.handle;
}

void SmartPaste::stopWaitingFor(const std::shared_ptr<ActivationWait>& wait) {
    std::erase(activationWaits_, wait);
    if (activationWaits_.empty()) {
        services_.workspace.notifyOnActiveChange({});
    }
}

void SmartPaste::pasteAfterActivation(const MenuBarItem& item, const PasteChord& chord,
                                      const std::shared_ptr<PendingRestore>& restore) {
    logger_.debug("Now pasting to app");
    logger_.debug("Current frontmost app: " + nameOrUnknown(services_.workspace.frontmostApplication()));
    pasteToActiveApp(item, chord, restore, [] {});
}

void SmartPaste::pasteToActiveApp(const MenuBarItem& item, const PasteChord& chord,
                                  const std::shared_ptr<PendingRestore>& restore,
                                  std::function<void()> completion) {
    const std::string request = "pasteToActiveApp called for item: '" + item.title +
                                "', prependNewline: " + boolText(item.prependNewline);
    logger_.debug(request);
    logWriter_.logToFile(request);

    const bool trusted = services_.accessibilityTrust.isTrusted();
    logWriter_.logPermissionsIfChanged(trusted, "Paste action");
    if (!trusted) {
        logger_.error("Cannot paste - no accessibility permissions!");
        logWriter_.logToFile("ERROR: Cannot paste - no accessibility permissions!");
        completion();
        return;
    }

    // A shortcut pressed while the settings window is in front would paste into Driftmark's own fields.
    // The copied text stays on the clipboard instead, for the user to paste where they mean to.
    if (const auto frontmost = services_.workspace.frontmostApplication();
        frontmost && frontmost->bundleIdentifier &&
        frontmost->bundleIdentifier == services_.workspace.ownBundleIdentifier()) {
        logger_.info("Driftmark's own window is in front: not pasting, the text stays on the clipboard");
        logWriter_.logToFile("Paste skipped: Driftmark's own window is in front");
        keepCopiedText_ = true;
        completion();
        return;
    }

    if (!item.prependNewline) {
        postPasteKeystroke(chord, restore);
        completion();
        return;
    }
    logger_.debug("Prepending newline before paste");
    KeyEventPoster& keys = services_.keyEventPoster;
    // Return goes out with no modifiers at all: the keys of the shortcut that triggered the paste may
    // still be held, and Control+Alt+Return would insert nothing.
    if (auto down = keys.keyboardEvent(returnKey, true)) {
        down->flags = 0;
        logPosted(keys.post(*down), "Enter key down");
    }
    if (auto up = keys.keyboardEvent(returnKey, false)) {
        up->flags = 0;
        logPosted(keys.post(*up), "Enter key up");
    }
    // The target needs a moment to take the Return before the paste arrives. Waiting on the queue
    // rather than blocking keeps the tray responsive; the step holds this object like the blocked call
    // it stands for.
    services_.mainQueue.asyncAfter(
        newlinePause, [self = shared_from_this(), &chord, restore, completion = std::move(completion)] {
            self->postPasteKeystroke(chord, restore);
            completion();
        });
}

// The lines name the paste keystroke as it has always been named, whatever the chord.
void SmartPaste::postPasteKeystroke(const PasteChord& chord, const std::shared_ptr<PendingRestore>& restore) {
    KeyEventPoster& keys = services_.keyEventPoster;
    bool typed = true;
    if (auto down = keys.keyboardEvent(chord.virtualKey, true)) {
        down->flags = chord.flags;
        // Told of reads from now on: a clipboard manager reads the text as soon as it is copied, the
        // window pasted into only once the keystroke has reached it.
        awaitRead(restore);
        typed = logPosted(keys.post(*down), "Cmd+V key down");
    } else {
        logger_.error("Failed to create key down event");
        typed = false;
    }
    if (auto up = keys.keyboardEvent(chord.virtualKey, false)) {
        up->flags = chord.flags;
        typed = logPosted(keys.post(*up), "Cmd+V key up") && typed;
    } else {
        logger_.error("Failed to create key up event");
        typed = false;
    }
    logger_.debug(typed ? "pasteToActiveApp completed" : "pasteToActiveApp failed: the paste was not typed");
}

// A keystroke that could not be typed is an error in both logs, never reported as posted.
bool SmartPaste::logPosted(bool posted, const std::string& event) {
    if (posted) {
        logger_.debug("Posted " + event + " event");
    } else {
        logger_.error("Failed to post " + event + " event");
        logWriter_.logToFile("ERROR: Failed to post " + event + " event");
    }
    return posted;
}

void SmartPaste::awaitRead(const std::shared_ptr<PendingRestore>& restore) {
    restore->keystrokeAt = services_.mainQueue.now();
    const bool primary = restore->pastesPrimary;
    Clipboard& selection = primary ? services_.primarySelection : services_.clipboard;
    selection.notifyOnNextTextRead([weak = weak_from_this(), primary] {
        if (const auto self = weak.lock()) {
            self->textRead(primary);
        }
    });
    // A window that never reads the text (a paste refused, a program that hangs) must not keep the
    // user's clipboard away for long.
    services_.mainQueue.asyncAfter(latestRestoreAfterKeystroke, [self = shared_from_this(), restore] {
        restore->latestPassed = true;
        self->restoreWhenDone(restore);
    });
}

// Every paste into this selection whose keystroke has gone out counts as read: overlapping pastes
// share the selection, and a program may ask for the text under more than one type.
void SmartPaste::textRead(bool primary) {
    std::vector<std::shared_ptr<PendingRestore>> read;
    for (const auto& restore : restores_) {
        if (restore->pastesPrimary == primary && restore->keystrokeAt && !restore->read) {
            restore->read = true;
            restore->readLate = restore->earliestPassed;
            read.push_back(restore);
        }
    }
    for (const auto& restore : read) {
        restoreWhenDone(restore);
    }
}

void SmartPaste::startEarliestRestore(const std::shared_ptr<PendingRestore>& restore) {
    // Holds this object: the user's clipboard comes back whatever happens meanwhile.
    services_.mainQueue.asyncAfter(restore->earliestDelay, [self = shared_from_this(), restore] {
        restore->earliestPassed = true;
        self->restoreWhenDone(restore);
    });
}

void SmartPaste::restoreWhenDone(const std::shared_ptr<PendingRestore>& restore) {
    const bool awaitsRead = restore->keystrokeAt && !restore->read;
    if (restore->finished || (!restore->latestPassed && (!restore->earliestPassed || awaitsRead))) {
        return;
    }
    restore->finished = true;
    std::erase(restores_, restore);
    stopWatchingUnawaitedReads();
    finishSmartPaste(restoreMoment(*restore));
}

void SmartPaste::stopWatchingUnawaitedReads() {
    for (const bool primary : {false, true}) {
        const bool awaited = std::any_of(restores_.begin(), restores_.end(), [primary](const auto& restore) {
            return restore->pastesPrimary == primary && restore->keystrokeAt && !restore->read;
        });
        if (!awaited) {
            (primary ? services_.primarySelection : services_.clipboard).notifyOnNextTextRead({});
        }
    }
}

std::string SmartPaste::restoreMoment(const PendingRestore& restore) const {
    if (restore.keystrokeAt && !restore.read) {
        return shortestDecimal(latestRestoreAfterKeystroke) +
               "s after the paste keystroke without the entry's text being read";
    }
    if (restore.readLate) {
        const double waited = services_.mainQueue.now() - *restore.keystrokeAt;
        return shortestDecimal(std::round(waited * 10) / 10) +
               "s after the paste keystroke, once the entry's text was read";
    }
    return "after " + shortestDecimal(restore.earliestDelay) + "s delay";
}

void SmartPaste::finishSmartPaste(const std::string& when) {
    // A quit has put the clipboard back already.
    if (inFlight_ == 0) {
        return;
    }
    --inFlight_;
    if (inFlight_ > 0) {
        logWriter_.logToFile("Clipboard restore " + when + " left to the Smart Paste still in progress");
        return;
    }
    restoreSavedSelections(when);
}

void SmartPaste::finishAtQuit() {
    // What the pastes in flight still wait for no longer matters.
    for (const auto& restore : std::exchange(restores_, {})) {
        restore->finished = true;
    }
    if (!std::exchange(activationWaits_, {}).empty()) {
        services_.workspace.notifyOnActiveChange({});
    }
    stopWatchingUnawaitedReads();
    // A save still running is of no use now, and sequences still waiting for it never wrote anything.
    clipboard_.abandon();
    if (primary_.isSaving()) {
        primary_.abandon();
        waitingForPrimary_.clear();
        primaryTaken_ = false;
    }
    const auto waiting = static_cast<int>(std::exchange(waitingForSave_, {}).size());
    const int copied = std::exchange(inFlight_, 0) - waiting;
    if (copied > 0) {
        restoreSavedSelections("at quit");
    }
}

void SmartPaste::restoreSavedSelections(const std::string& when) {
    if (std::exchange(keepCopiedText_, false)) {
        clipboard_.forget();
        logWriter_.logToFile("Clipboard keeps the copied text: nothing was pasted");
    } else {
        clipboard_.restore(when);
    }
    // The user's selection comes back also when nothing was pasted: the text waits on the clipboard.
    if (std::exchange(primaryTaken_, false)) {
        primary_.restore(when);
    }
}

} // namespace driftmark
