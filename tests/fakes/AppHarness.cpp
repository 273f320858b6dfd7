#include "fakes/AppHarness.h"

#include "fakes/TextFile.h"
#include "model/MenuBarItemJson.h"

#include <sstream>

namespace driftmark::test {

namespace {

using namespace std::chrono;

MemoryPreferencesStore& seeded(MemoryPreferencesStore& store, const std::vector<MenuBarItem>& items) {
    store.set(MenuItemManager::storageKey, encodeMenuBarItems(items).value());
    return store;
}

} // namespace

AppHarness::AppHarness(const std::vector<MenuBarItem>& storedItems)
    : logFiles(std::make_shared<LogFiles>(directory.path() / ".log" / "driftmark-menubar"))
    , clock(sys_days{2025y / March / 7} + 13h + 5min + 9s)
    , appLogger(logFiles, clock, calendar)
    , logWriter(logFiles, clock, platform.systemLog, calendar)
    , preferences(seeded(platform.userDefaults, storedItems))
    , menuItemManager(preferences, appLogger) {}

std::shared_ptr<AppDelegate> AppHarness::makeDelegate() {
    return AppDelegate::create(menuItemManager, appLogger, logWriter, platform.services(),
                               [this]() -> KeyboardShortcutsManager& {
                                   if (!shortcutsManager) {
                                       shortcutsManager.emplace(shortcuts.module, appLogger);
                                   }
                                   return *shortcutsManager;
                               });
}

std::shared_ptr<AppDelegate> AppHarness::launch() {
    auto delegate = makeDelegate();
    delegate->applicationDidFinishLaunching();
    return delegate;
}

std::vector<std::string> AppHarness::dailyLog() {
    appLogger.flush();
    std::istringstream content(readTextFile(logFiles->dayFile("2025-03-07")));
    std::vector<std::string> lines;
    for (std::string line; std::getline(content, line);) {
        const auto stamp = line.find("] ");
        if (line.starts_with("[") && stamp != std::string::npos) {
            line.erase(0, stamp + 2);
        }
        lines.push_back(line);
    }
    return lines;
}

MenuBarItem makeItem(const std::string& title, const std::string& text, bool usesSmartPaste,
                     std::int64_t order, bool prependNewline) {
    MenuBarItem item(text, title, Color::systemBlue(), usesSmartPaste, order);
    item.prependNewline = prependNewline;
    return item;
}

} // namespace driftmark::test
