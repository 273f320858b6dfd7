#pragma once

#include "app/AppDelegate.h"
#include "app/KeyboardShortcutsManager.h"
#include "fakes/FakePlatform.h"
#include "fakes/KeyboardShortcutsTestbed.h"
#include "fakes/ManualClock.h"
#include "fakes/TestEnvironment.h"
#include "model/MenuBarItem.h"
#include "model/MenuItemManager.h"
#include "support/AppLogger.h"
#include "support/DelegateLogWriter.h"
#include "support/LogCalendar.h"
#include "support/LogFiles.h"
#include "support/MemoryPreferencesStore.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace driftmark::test {

// The application core over fakes: the platform services, the real item store over memory
// preferences, and both real log writers over a temporary directory with a manual clock.
struct AppHarness {
    // The store loads these entries at construction, sorted by `order`.
    explicit AppHarness(const std::vector<MenuBarItem>& storedItems);
    // Pending tasks may hold a delegate; it goes while the store and the writers still exist.
    ~AppHarness() { platform.mainQueue.discardPending(); }

    std::shared_ptr<AppDelegate> makeDelegate();
    // A delegate that has finished launching.
    std::shared_ptr<AppDelegate> launch();
    // The day's log with every line's time stamp taken off, after everything queued has been written.
    std::vector<std::string> dailyLog();

    FakePlatform platform;
    TemporaryDirectory directory;
    std::shared_ptr<LogFiles> logFiles;
    ManualClock clock;
    LogCalendar calendar{"UTC", "en_US"};
    AppLogger appLogger;
    DelegateLogWriter logWriter;
    // The platform's preferences, seeded with the stored entries.
    MemoryPreferencesStore& preferences;
    MenuItemManager menuItemManager;
    KeyboardShortcutsTestbed shortcuts;
    // Built when start-up first asks for it, as the process-wide one is.
    std::optional<KeyboardShortcutsManager> shortcutsManager;
};

// A new entry with a fresh id; equal orders are allowed.
MenuBarItem makeItem(const std::string& title, const std::string& text, bool usesSmartPaste,
                     std::int64_t order = 0, bool prependNewline = false);

} // namespace driftmark::test
