#include "KeyboardShortcuts/Key.h"
#include "KeyboardShortcuts/ModifierFlags.h"
#include "KeyboardShortcuts/Shortcut.h"
#include "SyscallCounter.h"
#include "app/AppDelegate.h"
#include "app/KeyboardShortcutsManager.h"
#include "app/SettingsView.h"
#include "fakes/FakeLoginItemService.h"
#include "fakes/FakePlatform.h"
#include "fakes/KeyboardShortcutsTestbed.h"
#include "fakes/TestEnvironment.h"
#include "model/MenuBarItemJson.h"
#include "model/MenuItemManager.h"
#include "platform/Clock.h"
#include "support/AppLogger.h"
#include "support/DelegateLogWriter.h"
#include "support/FilePreferencesStore.h"
#include "support/LaunchAtLogin.h"
#include "support/LogCalendar.h"
#include "support/LogFiles.h"
#include "support/MemoryPreferencesStore.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <benchmark/benchmark.h>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <malloc.h>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace driftmark {
namespace {

constexpr int tenEntries = 10;
// Edits before the measured ones, so that buffers that grow once (the log file's, the encoder's) have
// grown already.
constexpr int warmUpEdits = 50;
constexpr int measuredEdits = 1000;
// The typed title is cleared after this many characters, so that every repetition edits titles of
// the same lengths.
constexpr std::size_t typedCharacters = 32;

// The fake system log keeps every message for the tests to read; here that would be memory growth of
// the benchmark's own making, so the messages go nowhere; only their number is kept.
class DiscardingSystemLog final : public SystemLog {
public:
    void write(SystemLogLevel, std::string_view, std::string_view) override { ++lines; }
    void basic(std::string_view) override { ++lines; }

    std::atomic<std::int64_t> lines{0};
};

// Lines and bytes in the daily log files of a directory.
struct LogVolume {
    std::int64_t lines = 0;
    std::int64_t bytes = 0;

    static LogVolume of(const std::filesystem::path& directory) {
        LogVolume volume;
        for (const auto& entry : std::filesystem::directory_iterator(directory)) {
            std::ifstream file(entry.path(), std::ios::binary);
            const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
            volume.lines += std::count(text.begin(), text.end(), '\n');
            volume.bytes += static_cast<std::int64_t>(text.size());
        }
        return volume;
    }
};

std::int64_t residentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmRSS:")) {
            std::istringstream fields(line.substr(6));
            std::int64_t kilobytes = 0;
            fields >> kilobytes;
            return kilobytes;
        }
    }
    return 0;
}

// Bytes the allocator has handed out and not yet had back, which RSS shows only page by page and not
// at all while freed pages stay with the process.
std::int64_t heapBytesInUse() {
    return static_cast<std::int64_t>(mallinfo2().uordblks);
}

std::vector<MenuBarItem> tenItems() {
    std::vector<MenuBarItem> items;
    for (int index = 0; index < tenEntries; ++index) {
        items.emplace_back("Driftmark benchmark entry " + std::to_string(index + 1) +
                               ", a line of text to copy",
                           "Entry " + std::to_string(index + 1), Color::systemBlue(), false, index);
    }
    return items;
}

// A launched Driftmark over the fake platform, as main() assembles it: the real entry store, both log
// writers over a temporary directory, the shortcut manager over a fake hot-key service, and the
// settings window's view. With `durable`, the preferences are the file store that the program uses,
// in the temporary directory, so every save replaces the file and waits for the disk.
struct LaunchedApp {
    explicit LaunchedApp(bool durable)
        : logFiles(std::make_shared<LogFiles>(directory.path() / ".log" / "driftmark-menubar"))
        , appLogger(logFiles, SystemClock::shared(), calendar)
        , logWriter(logFiles, SystemClock::shared(), systemLog, calendar)
        , preferences(makePreferences(durable))
        , menuItemManager(seeded(*preferences), appLogger) {
        const std::array<KeyboardShortcuts::Key, tenEntries> digits = {
            KeyboardShortcuts::Key::one,   KeyboardShortcuts::Key::two,   KeyboardShortcuts::Key::three,
            KeyboardShortcuts::Key::four,  KeyboardShortcuts::Key::five,  KeyboardShortcuts::Key::six,
            KeyboardShortcuts::Key::seven, KeyboardShortcuts::Key::eight, KeyboardShortcuts::Key::nine,
            KeyboardShortcuts::Key::zero};
        // Every entry has a shortcut of its own, so that each announcement re-registers live hot keys.
        for (std::size_t index = 0; index < digits.size(); ++index) {
            const auto name = shortcuts.module.makeName(
                KeyboardShortcutsManager::menuItemName(menuItemManager.items().at(index).id()).rawValue);
            shortcuts.module.setShortcut(
                KeyboardShortcuts::Shortcut(digits.at(index), KeyboardShortcuts::ModifierFlags::control |
                                                                  KeyboardShortcuts::ModifierFlags::option),
                name);
        }
        delegate = AppDelegate::create(menuItemManager, appLogger, logWriter, services(),
                                       [this]() -> KeyboardShortcutsManager& {
                                           if (!shortcutsManager) {
                                               shortcutsManager.emplace(shortcuts.module, appLogger);
                                           }
                                           return *shortcutsManager;
                                       });
        delegate->applicationDidFinishLaunching();
        const auto legacy = shortcuts.module.makeName(
            "copyToClipboard", KeyboardShortcuts::Shortcut(KeyboardShortcuts::Key::u,
                                                           KeyboardShortcuts::ModifierFlags::control |
                                                               KeyboardShortcuts::ModifierFlags::shift));
        view.emplace(SettingsView::Services{menuItemManager, shortcuts.module, legacy, launchAtLogin,
                                            appLogger, *preferences, platform.application,
                                            platform.mainQueue});
        announcements = menuItemManager.subscribe([this](const MenuItemManager::Items&) { ++announced; });
        edited = menuItemManager.items().at(tenEntries / 2);
        originalTitle = edited.title;
    }

    ~LaunchedApp() {
        appLogger.flush();
        platform.mainQueue.discardPending();
    }

    // One keystroke in the edited entry's name field: a character more, or, once the field is full,
    // the field typed over with the title it started with.
    void keystroke() {
        if (edited.title.size() >= originalTitle.size() + typedCharacters) {
            edited.title = originalTitle;
        } else {
            edited.title.push_back(static_cast<char>('a' + edited.title.size() % 26));
        }
        view->updateItem(edited);
        platform.mainQueue.runPending();
    }

    PlatformServices services() {
        PlatformServices services = platform.services();
        return PlatformServices{systemLog,
                                services.accessibilityTrust,
                                services.clipboard,
                                services.primarySelection,
                                services.keyEventPoster,
                                services.workspace,
                                services.statusBar,
                                services.mainQueue,
                                services.application,
                                *preferences,
                                services.windows};
    }

    std::unique_ptr<MemoryPreferencesStore> makePreferences(bool durable) {
        if (!durable) {
            return std::make_unique<MemoryPreferencesStore>();
        }
        return std::make_unique<FilePreferencesStore>(
            directory.path() / "config" / "driftmark-menubar" / "preferences.json",
            [this](const std::string& line) { problems.push_back(line); });
    }

    static PreferencesStore& seeded(MemoryPreferencesStore& store) {
        store.set(MenuItemManager::storageKey, encodeMenuBarItems(tenItems()).value());
        return store;
    }

    test::FakePlatform platform;
    test::TemporaryDirectory directory;
    DiscardingSystemLog systemLog;
    // What the file store could not do, such as writing the file.
    std::vector<std::string> problems;
    std::shared_ptr<LogFiles> logFiles;
    LogCalendar calendar{};
    AppLogger appLogger;
    DelegateLogWriter logWriter;
    std::unique_ptr<MemoryPreferencesStore> preferences;
    MenuItemManager menuItemManager;
    test::KeyboardShortcutsTestbed shortcuts;
    std::optional<KeyboardShortcutsManager> shortcutsManager;
    std::shared_ptr<AppDelegate> delegate;
    test::FakeLoginItemService loginItem;
    std::ostringstream output;
    LaunchAtLogin launchAtLogin{loginItem, output};
    std::optional<SettingsView> view;
    Subscription announcements;
    std::int64_t announced = 0;
    MenuBarItem edited = MenuBarItem("", "", Color::systemBlue(), false, 0);
    std::string originalTitle;
};

enum class Store { file, memory };

// A keystroke in an entry's name field with ten entries: the store replaces the entry, renumbers and
// announces the list, the status items and shortcuts follow each announcement, and the list is saved;
// then whatever the keystroke queued on the main queue runs, as the event loop would run it. Keys come
// as fast as the program takes them, so the log's writer thread falls behind; what its backlog leaves
// on the heap once it has caught up is reported as well.
void typing(benchmark::State& state, Store store) {
    LaunchedApp app(store == Store::file);
    for (int edit = 0; edit < warmUpEdits; ++edit) {
        app.keystroke();
    }
    app.appLogger.flush();
    const std::int64_t announcedBefore = app.announced;
    const std::int64_t heapBefore = heapBytesInUse();

    for (auto _ : state) {
        app.keystroke();
    }

    app.appLogger.flush();
    state.counters["announcements_per_edit"] =
        static_cast<double>(app.announced - announcedBefore) / static_cast<double>(state.iterations());
    state.counters["heap_after_burst_B"] = static_cast<double>(heapBytesInUse() - heapBefore);
    if (!app.problems.empty()) {
        state.SkipWithError(app.problems.front().c_str());
    }
}

void keystrokeWithTenEntriesSavedToFile(benchmark::State& state) {
    typing(state, Store::file);
}
void keystrokeWithTenEntriesInMemory(benchmark::State& state) {
    typing(state, Store::memory);
}

// What 1000 keystrokes leave in memory when they come at a person's pace: after each one the log's
// writer thread catches up (a typist leaves it tens of milliseconds, it needs about one). Reports the
// growth of the process's resident set (VmRSS) and of the heap bytes in use. Registered first, so that
// its first repetition grows a heap that earlier benchmarks have not left free pages in; later
// repetitions reuse the pages of earlier ones, so RSS can only show growth in the first.
void memoryOverThousandKeystrokes(benchmark::State& state) {
    LaunchedApp app(true);
    for (int edit = 0; edit < warmUpEdits; ++edit) {
        app.keystroke();
        app.appLogger.flush();
    }
    const std::int64_t residentBefore = residentKilobytes();
    const std::int64_t heapBefore = heapBytesInUse();

    for (auto _ : state) {
        app.keystroke();
        app.appLogger.flush();
    }

    state.counters["rss_growth_kB"] = static_cast<double>(residentKilobytes() - residentBefore);
    state.counters["heap_growth_B"] = static_cast<double>(heapBytesInUse() - heapBefore);
    if (!app.problems.empty()) {
        state.SkipWithError(app.problems.front().c_str());
    }
}

// What one keystroke costs besides time, with the durable save: the lines and bytes it adds to the
// daily log and the lines it sends to the system log (the journal), the files opened (by Driftmark's
// own calls: the log's and the preferences' folder; the save's temporary file is made by mkstemp,
// which is not counted), the saves of the preferences file and the fsyncs. Each keystroke waits for
// the log's writer, so that its lines count with it.
void keystrokeCost(benchmark::State& state) {
    LaunchedApp app(true);
    for (int edit = 0; edit < warmUpEdits; ++edit) {
        app.keystroke();
    }
    app.appLogger.flush();
    const LogVolume logBefore = LogVolume::of(app.logFiles->directory());
    const std::int64_t journalBefore = app.systemLog.lines;
    const bench::SyscallCounts callsBefore = bench::SyscallCounts::now();

    for (auto _ : state) {
        app.keystroke();
        app.appLogger.flush();
    }

    const LogVolume logAfter = LogVolume::of(app.logFiles->directory());
    const bench::SyscallCounts callsAfter = bench::SyscallCounts::now();
    const auto perKeystroke = [&state](std::int64_t count) {
        return static_cast<double>(count) / static_cast<double>(state.iterations());
    };
    state.counters["log_lines"] = perKeystroke(logAfter.lines - logBefore.lines);
    state.counters["log_bytes"] = perKeystroke(logAfter.bytes - logBefore.bytes);
    state.counters["journal_lines"] = perKeystroke(app.systemLog.lines - journalBefore);
    state.counters["file_opens"] = perKeystroke(callsAfter.opens - callsBefore.opens);
    state.counters["saves"] = perKeystroke(callsAfter.preferenceSaves - callsBefore.preferenceSaves);
    state.counters["fsyncs"] = perKeystroke(callsAfter.fsyncs - callsBefore.fsyncs);
    if (!app.problems.empty()) {
        state.SkipWithError(app.problems.front().c_str());
    }
}

BENCHMARK(memoryOverThousandKeystrokes)
    ->Iterations(measuredEdits)
    ->Repetitions(3)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);
// 1000 keystrokes per repetition; the process CPU time includes the log's writer thread.
BENCHMARK(keystrokeWithTenEntriesSavedToFile)
    ->Iterations(measuredEdits)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(keystrokeCost)->Iterations(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(keystrokeWithTenEntriesInMemory)
    ->Iterations(measuredEdits)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace driftmark
