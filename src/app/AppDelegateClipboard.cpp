#include "app/AppDelegate.h"
#include "app/LogText.h"
#include "platform/AccessibilityTrust.h"
#include "platform/Clipboard.h"
#include "platform/MainQueue.h"
#include "support/AppLogger.h"
#include "support/DelegateLogWriter.h"

#include <source_location>
#include <utility>

namespace driftmark {

namespace {

constexpr double pasteStageDelay = 0.1;
// How long the save may wait for the clipboard's owner, all types together: well inside the time a
// user waits for the paste anyway.
constexpr double saveTimeLimit = 0.3;
constexpr double flashDuration = 0.1;
constexpr double flashAlpha = 0.5;

std::string nameOrNil(const std::optional<RunningApplication>& app) {
    return app && app->localizedName ? *app->localizedName : "nil";
}

} // namespace

void AppDelegate::menuBarItemLeftClicked(const MenuBarItem& item,
                                         const std::optional<RunningApplication>& previousApp) {
    logger_.info("Menu bar left click for item: " + item.title);
    logger_.info("Previous app is: " + nameOrNil(previousApp));
    logWriter_.logToFile("Menu bar clicked for '" + item.title +
                         "'! Previous app: " + nameOrNil(previousApp));
    copyTextToClipboard(item, item.usesSmartPaste, previousApp);
}

void AppDelegate::copyToClipboard(const MenuBarItem& item, bool smartPaste) {
    logger_.info("Copy to clipboard for item: " + item.title + ", smartPaste: " + boolText(smartPaste));
    logWriter_.logToFile("Copy to clipboard for '" + item.title + "', smartPaste: " + boolText(smartPaste));
    // The menu has no remembered application to give: the paste goes to whatever is frontmost then.
    copyTextToClipboard(item, smartPaste, std::nullopt);
}

void AppDelegate::copyTextToClipboard(const MenuBarItem& item, bool smartPaste,
                                      const std::optional<RunningApplication>& previousApp) {
    Clipboard& clipboard = services_.clipboard;
    const std::string request =
        "copyTextToClipboard called for item: '" + item.title + "', smartPaste: " + boolText(smartPaste);
    logger_.debug(request);
    logWriter_.logToFile(request);

    if (smartPaste && item.usesSmartPaste) {
        const bool trusted = services_.accessibilityTrust.isTrusted();
        logWriter_.logPermissionsIfChanged(trusted, "Smart Paste requested");
        if (trusted) {
            startSmartPaste(item, previousApp);
            return;
        }
        logger_.error("Smart Paste enabled but no accessibility permissions - falling back to regular copy");
        logWriter_.logToFile(
            "WARNING: Smart Paste enabled but no accessibility permissions - falling back to regular copy");
    }

    clipboard.clearContents();
    clipboard.setString(item.text);
    // A Smart Paste still in flight would put back what the clipboard held before this copy; what the
    // user copied now is what it must put back instead, also when the earlier save is still running.
    if (smartPastesInFlight_ > 0) {
        saveClipboard();
    }
    showNotification(item);
}

void AppDelegate::startSmartPaste(const MenuBarItem& item,
                                  const std::optional<RunningApplication>& previousApp) {
    ++smartPastesInFlight_;
    if (smartPastesInFlight_ > 1 && !saving_) {
        copyForSmartPaste(item, previousApp);
        return;
    }
    // Our own text must not go on the clipboard before the save has read the user's.
    waitingForSave_.push_back({item, previousApp});
    if (smartPastesInFlight_ == 1) {
        saveClipboard();
    }
}

void AppDelegate::saveClipboard() {
    const std::uint64_t save = ++clipboardSave_;
    saving_ = true;
    services_.clipboard.read([weak = weak_from_this(), save](ClipboardReading reading) {
        if (const auto self = weak.lock()) {
            self->clipboardSaved(save, std::move(reading));
        }
    });
    if (!saving_ || save != clipboardSave_) {
        return;
    }
    // An owner that never answers must not hold the paste up: what has come by then is what is saved.
    services_.mainQueue.asyncAfter(saveTimeLimit, [weak = weak_from_this(), save] {
        const auto self = weak.lock();
        if (self && self->saving_ && self->clipboardSave_ == save) {
            self->services_.clipboard.stopReading();
        }
    });
}

void AppDelegate::clipboardSaved(std::uint64_t save, ClipboardReading reading) {
    // A later copy has replaced what this save read.
    if (save != clipboardSave_ || !saving_) {
        return;
    }
    saving_ = false;
    lostClipboardTypes_ = reading.unanswered;
    clipboardTypesUnlisted_ = reading.stopped && !reading.listed;
    const bool stopped = reading.stopped;
    savedClipboard_ = savedClipboardContents(std::move(reading));
    if (stopped) {
        std::string outcome = "Clipboard save stopped after " + shortestDecimal(saveTimeLimit) + "s: ";
        if (clipboardTypesUnlisted_) {
            outcome += "its owner did not list its types";
        } else {
            outcome +=
                "no answer for " + typeList(lostClipboardTypes_) +
                (savedClipboard_ ? "; saved " + typeList(typesOf(*savedClipboard_)) : "; nothing saved");
        }
        logger_.error(outcome);
        logWriter_.logToFile(outcome);
    }
    for (const auto& [item, previousApp] : std::exchange(waitingForSave_, {})) {
        copyForSmartPaste(item, previousApp);
    }
}

// The copy of a Smart Paste, from which its timings count.
void AppDelegate::copyForSmartPaste(const MenuBarItem& item,
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
    showNotification(item);
}

void AppDelegate::showNotification(const MenuBarItem& item) {
    StatusItem* statusItem = this->statusItem(item.id());
    if (statusItem == nullptr) {
        return;
    }
    statusItem->animateAlphaValue(flashAlpha, flashDuration, [weak = weak_from_this(), id = item.id()] {
        const auto self = weak.lock();
        StatusItem* current = self ? self->statusItem(id) : nullptr;
        if (current != nullptr) {
            current->animateAlphaValue(1.0, flashDuration, [] {});
        }
    });
}

StatusItem* AppDelegate::statusItem(const Uuid& id) const {
    if (!menuBarManager_) {
        return nullptr;
    }
    const auto& statusItems = menuBarManager_->statusItems();
    const auto found = statusItems.find(id);
    return found == statusItems.end() ? nullptr : found->second.get();
}

} // namespace driftmark
