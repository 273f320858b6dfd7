#include "app/SmartPaste.h"

#include "app/LogText.h"
#include "platform/AccessibilityTrust.h"
#include "platform/Clipboard.h"
#include "platform/KeyEventPoster.h"
#include "platform/MainQueue.h"
#include "support/AppLogger.h"
#include "support/DelegateLogWriter.h"

#include <source_location>
#include <utility>

namespace driftmark {

namespace {

constexpr double pasteStageDelay = 0.1;
constexpr double activationSettleDelay = 0.5;
constexpr double restoreDelayAfterActivation = 0.8;
constexpr double restoreDelayWithoutActivation = 0.3;
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
    if (!previousApp) {
        logger_.debug("No previous app, pasting to current app");
        pasteToActiveApp(item, chord, [this] { scheduleRestore(restoreDelayWithoutActivation); });
        return;
    }
    logger_.debug("Activating previous app: " + nameOrUnknown(previousApp));
    // A failed activation is only logged: the keystroke then goes to whatever is frontmost.
    const bool activated = services_.workspace.activate(*previousApp);
    logger_.debug(std::string("Activation result: ") + boolText(activated));
    services_.mainQueue.asyncAfter(activationSettleDelay, [weak = weak_from_this(), item, &chord] {
        if (const auto self = weak.lock()) {
            self->pasteAfterActivation(item, chord);
        }
    });
    scheduleRestore(restoreDelayAfterActivation);
}

void SmartPaste::pasteAfterActivation(const MenuBarItem& item, const PasteChord& chord) {
    logger_.debug("Now pasting to app");
    logger_.debug("Current frontmost app: " + nameOrUnknown(services_.workspace.frontmostApplication()));
    pasteToActiveApp(item, chord, [] {});
}

void SmartPaste::pasteToActiveApp(const MenuBarItem& item, const PasteChord& chord,
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
        postPasteKeystroke(chord);
        completion();
        return;
    }
    logger_.debug("Prepending newline before paste");
    KeyEventPoster& keys = services_.keyEventPoster;
    // Return goes out with no modifiers at all: the keys of the shortcut that triggered the paste may
    // still be held, and Control+Alt+Return would insert nothing.
    if (auto down = keys.keyboardEvent(returnKey, true)) {
        down->flags = 0;
        keys.post(*down);
        logger_.debug("Posted Enter key down event");
    }
    if (auto up = keys.keyboardEvent(returnKey, false)) {
        up->flags = 0;
        keys.post(*up);
        logger_.debug("Posted Enter key up event");
    }
    // The target needs a moment to take the Return before the paste arrives. Waiting on the queue
    // rather than blocking keeps the tray responsive; the step holds this object like the blocked call
    // it stands for.
    services_.mainQueue.asyncAfter(newlinePause,
                                   [self = shared_from_this(), &chord, completion = std::move(completion)] {
                                       self->postPasteKeystroke(chord);
                                       completion();
                                   });
}

// The lines name the paste keystroke as it has always been named, whatever the chord.
void SmartPaste::postPasteKeystroke(const PasteChord& chord) {
    KeyEventPoster& keys = services_.keyEventPoster;
    if (auto down = keys.keyboardEvent(chord.virtualKey, true)) {
        down->flags = chord.flags;
        keys.post(*down);
        logger_.debug("Posted Cmd+V key down event");
    } else {
        logger_.error("Failed to create key down event");
    }
    if (auto up = keys.keyboardEvent(chord.virtualKey, false)) {
        up->flags = chord.flags;
        keys.post(*up);
        logger_.debug("Posted Cmd+V key up event");
    } else {
        logger_.error("Failed to create key up event");
    }
    logger_.debug("pasteToActiveApp completed");
}

void SmartPaste::scheduleRestore(double delay) {
    // The one task that holds this object: the user's clipboard comes back whatever happens meanwhile.
    services_.mainQueue.asyncAfter(delay,
                                   [self = shared_from_this(), delay] { self->finishSmartPaste(delay); });
}

void SmartPaste::finishSmartPaste(double delay) {
    // A quit has put the clipboard back already.
    if (inFlight_ == 0) {
        return;
    }
    --inFlight_;
    if (inFlight_ > 0) {
        logWriter_.logToFile("Clipboard restore after " + shortestDecimal(delay) +
                             "s delay left to the Smart Paste still in progress");
        return;
    }
    restoreSavedSelections("after " + shortestDecimal(delay) + "s delay");
}

void SmartPaste::finishAtQuit() {
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
