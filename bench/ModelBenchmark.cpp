#include "fakes/TestEnvironment.h"
#include "model/MenuBarItemJson.h"
#include "model/MenuItemManager.h"
#include "platform/Clock.h"
#include "support/AppLogger.h"
#include "support/LogCalendar.h"
#include "support/LogFiles.h"
#include "support/MemoryPreferencesStore.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <string>

namespace driftmark {
namespace {

// A save renumbers and announces every entry, then encodes the list and stores it: the work behind
// each edit in the settings window.
void saveItemsWithTenEntries(benchmark::State& state) {
    const test::TemporaryDirectory logDirectory;
    AppLogger logger(std::make_shared<LogFiles>(logDirectory.path()), SystemClock::shared(), LogCalendar{});

    MenuItemManager::Items items;
    for (int i = 0; i < static_cast<int>(MenuItemManager::maxItems); ++i) {
        MenuBarItem item("Text number " + std::to_string(i) + " with a few more words to copy", "",
                         Color::systemTeal(), i % 2 == 0, i);
        item.keyboardShortcutName = "shortcut" + std::to_string(i);
        items.push_back(item);
    }
    MemoryPreferencesStore preferences;
    preferences.set(MenuItemManager::storageKey, *encodeMenuBarItems(items));
    MenuItemManager manager(preferences, logger);
    const auto subscription =
        manager.subscribe([](const MenuItemManager::Items& list) { benchmark::DoNotOptimize(list.data()); });

    for (auto _ : state) {
        manager.saveItems();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(manager.items().size()));
}
BENCHMARK(saveItemsWithTenEntries);

} // namespace
} // namespace driftmark
