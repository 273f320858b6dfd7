#pragma once

#include "model/MenuBarItem.h"
#include "platform/RemoteRequests.h"
#include "platform/SystemLog.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace driftmark {

class AppDelegate;
class Application;
class DelegateLogWriter;
class MenuItemManager;

namespace KeyboardShortcuts {
class Module;
}

// What other programs may ask of the running Driftmark (the command line's control options, through the
// session bus): copy or paste an entry, list the entries, open the settings window, quit. Every request
// is logged. Main thread only.
class RemoteControl final : public RemoteRequests {
public:
    RemoteControl(MenuItemManager& menuItemManager, KeyboardShortcuts::Module& shortcuts,
                  AppDelegate& delegate, Application& application, SystemLog& systemLog,
                  DelegateLogWriter& logWriter);

    // `entry` is a position counted from 1 or an entry id (see EntryReference); one longer than
    // OutsideText::argumentLimit is refused unread.
    Refusal copy(std::string_view entry) override;
    // A Smart Paste into the frontmost window, as the entry's shortcut does, also for an entry whose own
    // Smart Paste switch is off: whoever asks for a paste means it.
    Refusal paste(std::string_view entry) override;
    std::vector<ListedEntry> list() override;
    // Refused, with the reason, when the settings window cannot be built.
    Refusal openSettings() override;
    void quit() override;

private:
    Refusal withEntry(std::string_view entry, const std::string& request,
                      const std::function<void(const MenuBarItem&)>& action);
    void log(const std::string& message);

    MenuItemManager& menuItemManager_;
    KeyboardShortcuts::Module& shortcuts_;
    AppDelegate& delegate_;
    Application& application_;
    CategoryLog logger_;
    DelegateLogWriter& logWriter_;
};

} // namespace driftmark
