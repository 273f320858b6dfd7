#include "app/AppDelegate.h"
#include "app/LogText.h"
#include "platform/AccessibilityTrust.h"
#include "platform/Clipboard.h"
#include "platform/KeyEventPoster.h"
#include "platform/MainQueue.h"
#include "support/DelegateLogWriter.h"

#include <utility>

namespace driftmark {

namespace {

constexpr double activationSettleDelay = 0.5;
constexpr double restoreDelayAfterActivation = 0.8;
constexpr double restoreDelayWithoutActivation = 0.3;
constexpr double newlinePause = 0.05;

// Physical key positions: Return and V on the ANSI layout.
constexpr std::uint16_t returnKey = 36;
constexpr std::uint16_t vKey = 9;

std::string nameOrUnknown(const std::optional<RunningApplication>& app) {
    return app && app->localizedName ? *app->localizedName : "Unknown";
}

} // namespace

void AppDelegate::pasteStage(const MenuBarItem& item, const std::optional<RunningApplication>& previousApp) {
    if (!previousApp) {
        logger_.debug("No previous app, pasting to current app");
        pasteToActiveApp(item, [this] { scheduleRestore(restoreDelayWithoutActivation); });
        return;
    }
    logger_.debug("Activating previous app: " + nameOrUnknown(previousApp));
    // A failed activation is only logged: the keystroke then goes to whatever is frontmost.
    const bool activated = services_.workspace.activate(*previousApp);
    logger_.debug(std::string("Activation result: ") + boolText(activated));
    services_.mainQueue.asyncAfter(activationSettleDelay, [weak = weak_from_this(), item] {
        if (const auto self = weak.lock()) {
            self->pasteAfterActivation(item);
        }
    });
    scheduleRestore(restoreDelayAfterActivation);
}

void AppDelegate::pasteAfterActivation(const MenuBarItem& item) {
    logger_.debug("Now pasting to app");
    logger_.debug("Current frontmost app: " + nameOrUnknown(services_.workspace.frontmostApplication()));
    pasteToActiveApp(item, [] {});
}

void AppDelegate::pasteToActiveApp(const MenuBarItem& item, std::function<void()> completion) {
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
        postPasteKeystroke();
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
                                   [self = shared_from_this(), completion = std::move(completion)] {
                                       self->postPasteKeystroke();
                                       completion();
                                   });
}

void AppDelegate::postPasteKeystroke() {
    KeyEventPoster& keys = services_.keyEventPoster;
    // The platform turns the Command flag into its own paste chord.
    if (auto down = keys.keyboardEvent(vKey, true)) {
        down->flags = keyEventFlagCommand;
        keys.post(*down);
        logger_.debug("Posted Cmd+V key down event");
    } else {
        logger_.error("Failed to create key down event");
    }
    if (auto up = keys.keyboardEvent(vKey, false)) {
        up->flags = keyEventFlagCommand;
        keys.post(*up);
        logger_.debug("Posted Cmd+V key up event");
    } else {
        logger_.error("Failed to create key up event");
    }
    logger_.debug("pasteToActiveApp completed");
}

void AppDelegate::scheduleRestore(double delay) {
    // The one task that holds this object: the user's clipboard comes back whatever happens meanwhile.
    services_.mainQueue.asyncAfter(delay,
                                   [self = shared_from_this(), delay] { self->finishSmartPaste(delay); });
}

void AppDelegate::finishSmartPaste(double delay) {
    // A quit has put the clipboard back already.
    if (smartPastesInFlight_ == 0) {
        return;
    }
    --smartPastesInFlight_;
    if (smartPastesInFlight_ > 0) {
        logWriter_.logToFile("Clipboard restore after " + shortestDecimal(delay) +
                             "s delay left to the Smart Paste still in progress");
        return;
    }
    restoreSavedClipboard("after " + shortestDecimal(delay) + "s delay");
}

void AppDelegate::applicationWillTerminate() {
    // A save still running is of no use now, and sequences still waiting for it never wrote anything.
    ++clipboardSave_;
    saving_ = false;
    services_.clipboard.stopReading();
    const auto waiting = static_cast<int>(std::exchange(waitingForSave_, {}).size());
    const int copied = std::exchange(smartPastesInFlight_, 0) - waiting;
    if (copied > 0) {
        restoreSavedClipboard("at quit");
    }
}

void AppDelegate::restoreSavedClipboard(const std::string& when) {
    auto saved = std::exchange(savedClipboard_, std::nullopt);
    const auto lost = std::exchange(lostClipboardTypes_, {});
    const bool unlisted = std::exchange(clipboardTypesUnlisted_, false);
    if (std::exchange(keepCopiedText_, false)) {
        logWriter_.logToFile("Clipboard keeps the copied text: nothing was pasted");
        return;
    }
    restoreClipboardContents(services_.clipboard, saved);
    // Said as it is: a restore that put nothing back is no restore.
    std::string outcome;
    if (saved && lost.empty()) {
        outcome = "Clipboard restored " + when;
    } else if (saved) {
        outcome = "Clipboard partly restored " + when + ": restored " + typeList(typesOf(*saved)) +
                  "; lost " + typeList(lost) + ", which its owner did not give in time";
    } else if (!lost.empty()) {
        outcome = "Clipboard not restored " + when + ": lost " + typeList(lost) +
                  ", which its owner did not give in time; the copied text stays";
    } else if (unlisted) {
        outcome = "Clipboard not restored " + when +
                  ": its owner did not list its types in time; the copied text stays";
    } else {
        outcome = "Clipboard not restored " + when + ": it held nothing to save; the copied text stays";
    }
    logWriter_.logToFile(outcome);
}

} // namespace driftmark
