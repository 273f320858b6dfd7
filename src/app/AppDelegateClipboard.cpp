#include "app/AppDelegate.h"
#include "app/LogText.h"
#include "platform/AccessibilityTrust.h"
#include "platform/Clipboard.h"
#include "platform/MainQueue.h"
#include "support/AppLogger.h"
#include "support/DelegateLogWriter.h"

#include <source_location>

namespace driftmark {

namespace {

constexpr double pasteStageDelay = 0.1;
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
    // user copied now is what it must put back instead.
    if (smartPastesInFlight_ > 0) {
        savedClipboard_ = saveClipboardContents(clipboard);
    }
    showNotification(item);
}

void AppDelegate::startSmartPaste(const MenuBarItem& item,
                                  const std::optional<RunningApplication>& previousApp) {
    Clipboard& clipboard = services_.clipboard;
    if (smartPastesInFlight_ == 0) {
        savedClipboard_ = saveClipboardContents(clipboard);
    }
    ++smartPastesInFlight_;

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
    StatusBarButton* button = statusButton(item.id());
    if (button == nullptr) {
        return;
    }
    button->animateAlphaValue(flashAlpha, flashDuration, [weak = weak_from_this(), id = item.id()] {
        const auto self = weak.lock();
        StatusBarButton* current = self ? self->statusButton(id) : nullptr;
        if (current != nullptr) {
            current->animateAlphaValue(1.0, flashDuration, [] {});
        }
    });
}

StatusBarButton* AppDelegate::statusButton(const Uuid& id) const {
    if (!menuBarManager_) {
        return nullptr;
    }
    const auto& statusItems = menuBarManager_->statusItems();
    const auto found = statusItems.find(id);
    return found == statusItems.end() ? nullptr : found->second->button();
}

} // namespace driftmark
