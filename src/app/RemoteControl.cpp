#include "app/RemoteControl.h"

#include "KeyboardShortcuts/Module.h"
#include "KeyboardShortcuts/ShortcutText.h"
#include "app/AppDelegate.h"
#include "app/EntryReference.h"
#include "app/KeyboardShortcutsManager.h"
#include "model/MenuItemManager.h"
#include "platform/Application.h"
#include "platform/OutsideText.h"
#include "support/DelegateLogWriter.h"

namespace driftmark {

RemoteControl::RemoteControl(MenuItemManager& menuItemManager, KeyboardShortcuts::Module& shortcuts,
                             AppDelegate& delegate, Application& application, SystemLog& systemLog,
                             DelegateLogWriter& logWriter)
    : menuItemManager_(menuItemManager)
    , shortcuts_(shortcuts)
    , delegate_(delegate)
    , application_(application)
    , logger_(systemLog, "RemoteControl")
    , logWriter_(logWriter) {}

RemoteControl::Refusal RemoteControl::copy(std::string_view entry) {
    return withEntry(entry, "copy", [this](const MenuBarItem& item) {
        log("Remote copy for '" + item.title + "'");
        delegate_.copyTextToClipboard(item, false, std::nullopt);
    });
}

RemoteControl::Refusal RemoteControl::paste(std::string_view entry) {
    return withEntry(entry, "paste", [this](const MenuBarItem& item) {
        log("Remote paste for '" + item.title + "'");
        MenuBarItem pasted = item;
        pasted.usesSmartPaste = true;
        delegate_.copyTextToClipboard(pasted, true, std::nullopt);
    });
}

std::vector<ListedEntry> RemoteControl::list() {
    const auto& items = menuItemManager_.items();
    std::vector<ListedEntry> listed;
    listed.reserve(items.size());
    for (std::size_t index = 0; index < items.size(); ++index) {
        const MenuBarItem& item = items[index];
        const auto shortcut = shortcuts_.getShortcut(KeyboardShortcutsManager::menuItemName(item.id()));
        listed.push_back({item.id().toString(), item.title, static_cast<std::int32_t>(index + 1),
                          shortcut ? presentableDescription(*shortcut, shortcuts_.keyboardLayout()) : ""});
    }
    log("Remote list of " + std::to_string(listed.size()) + " items");
    return listed;
}

RemoteControl::Refusal RemoteControl::openSettings() {
    log("Remote request to open the settings window");
    return delegate_.openSettingsWindow();
}

void RemoteControl::quit() {
    log("Remote request to quit");
    application_.terminate();
}

RemoteControl::Refusal RemoteControl::withEntry(std::string_view entry, const std::string& request,
                                                const std::function<void(const MenuBarItem&)>& action) {
    // No position or id comes near the limit: a longer argument is refused before anything copies it,
    // and the refusal, its log lines and the error reply echo only the start of it.
    const bool oversized = entry.size() > OutsideText::argumentLimit;
    const auto reference = oversized ? std::nullopt : EntryReference::parse(entry);
    const auto& items = menuItemManager_.items();
    const auto item = reference ? reference->find(items) : std::nullopt;
    if (!item) {
        std::string refusal =
            reference ? reference->missing(items) : EntryReference::invalid(OutsideText::excerpt(entry));
        logger_.error("Remote " + request + " refused: " + refusal);
        logWriter_.logToFile("Remote " + request + " refused: " + refusal);
        return refusal;
    }
    action(*item);
    return std::nullopt;
}

void RemoteControl::log(const std::string& message) {
    logger_.info(message);
    logWriter_.logToFile(message);
}

} // namespace driftmark
