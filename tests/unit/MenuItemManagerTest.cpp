#include "model/MenuItemManager.h"

#include "fakes/ManualClock.h"
#include "fakes/TestEnvironment.h"
#include "fakes/TextFile.h"
#include "model/MenuBarItemJson.h"
#include "support/AppLogger.h"
#include "support/LogCalendar.h"
#include "support/LogFiles.h"
#include "support/MemoryPreferencesStore.h"

#include <chrono>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace driftmark {
namespace {

using namespace std::chrono_literals;
using Items = MenuItemManager::Items;
using nlohmann::json;

// Counts writes, so that tests can tell a refused operation from one that saved an unchanged list.
class CountingPreferencesStore final : public MemoryPreferencesStore {
public:
    int writes = 0;

protected:
    void valuesChanged() override { ++writes; }
};

// Every list and about-to-change signal after the subscription's own first delivery.
class Announcements {
public:
    explicit Announcements(MenuItemManager& manager)
        : manager_(manager)
        , lists_(manager.subscribe([this](const Items& items) {
            lists.push_back(items);
            currentDuringDelivery.push_back(manager_.items());
        }))
        , aboutToChange_(manager.subscribeToAboutToChange([this] { ++aboutToChange; })) {
        lists.clear();
        currentDuringDelivery.clear();
    }

    std::vector<Items> lists;
    // What items() returned while each list was being delivered.
    std::vector<Items> currentDuringDelivery;
    int aboutToChange = 0;

    std::vector<std::vector<std::int64_t>> orders() const {
        std::vector<std::vector<std::int64_t>> result;
        for (const Items& items : lists) {
            result.emplace_back();
            for (const MenuBarItem& item : items) {
                result.back().push_back(item.order);
            }
        }
        return result;
    }

private:
    MenuItemManager& manager_;
    Subscription lists_;
    Subscription aboutToChange_;
};

// Collects what is written to std::cerr while it lives.
class CapturedStandardError {
public:
    CapturedStandardError()
        : previous_(std::cerr.rdbuf(text_.rdbuf())) {}
    ~CapturedStandardError() { std::cerr.rdbuf(previous_); }
    CapturedStandardError(const CapturedStandardError&) = delete;
    CapturedStandardError& operator=(const CapturedStandardError&) = delete;

    std::string text() const { return text_.str(); }

private:
    std::ostringstream text_;
    std::streambuf* previous_;
};

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}

Bytes bytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

json legacyRecord(const std::string& text, bool isActive) {
    return json{
        {"id", Uuid::random().toString()}, {"text", text}, {"isActive", isActive}, {"createdAt", 6e8}};
}

MenuBarItem itemTitled(const std::string& title, std::int64_t order) {
    return MenuBarItem("text of " + title, title, Color::systemGreen(), false, order);
}

std::vector<std::string> titles(const Items& items) {
    std::vector<std::string> result;
    for (const MenuBarItem& item : items) {
        result.push_back(item.title);
    }
    return result;
}

class MenuItemManagerTest : public testing::Test {
protected:
    MenuItemManager& start() {
        manager.emplace(preferences, logger);
        return *manager;
    }

    void store(const Items& items) {
        preferences.set(MenuItemManager::storageKey, *encodeMenuBarItems(items));
    }

    std::optional<Items> stored() const {
        const auto bytes = preferences.data(MenuItemManager::storageKey);
        return bytes ? decodeMenuBarItems(*bytes) : std::nullopt;
    }

    // Starts with the given titles stored in that order, and forgets the writes so far.
    MenuItemManager& startWith(const std::vector<std::string>& names) {
        Items items;
        for (const std::string& name : names) {
            items.push_back(itemTitled(name, std::ssize(items)));
        }
        store(items);
        start();
        preferences.writes = 0;
        return *manager;
    }

    std::string logText() {
        logger.flush();
        return test::readTextFile(files->dayFile("2024-03-05"));
    }

    test::TemporaryDirectory directory;
    std::shared_ptr<LogFiles> files = std::make_shared<LogFiles>(directory.path());
    test::ManualClock clock{std::chrono::sys_days{std::chrono::year{2024} / 3 / 5} + 12h};
    LogCalendar calendar{"UTC", "en_US"};
    AppLogger logger{files, clock, calendar};
    CountingPreferencesStore preferences;
    std::optional<MenuItemManager> manager;
};

TEST_F(MenuItemManagerTest, FirstStartWithNothingStoredSeedsTheDefaultEntry) {
    const Items& items = start().items();
    ASSERT_EQ(items.size(), 1U);
    EXPECT_EQ(items[0].title, "Driftmark");
    EXPECT_EQ(items[0].text, "Driftmark about this.");
    EXPECT_EQ(items[0].iconColor, CodableColor::fromPlatformColor(Color::systemBlue()));
    EXPECT_FALSE(items[0].usesSmartPaste);
    EXPECT_EQ(items[0].order, 0);
    EXPECT_EQ(stored(), items);
    EXPECT_FALSE(preferences.object(MenuItemManager::unreadableStorageKey));
    EXPECT_EQ(logText().find("Migrated"), std::string::npos);
}

TEST_F(MenuItemManagerTest, FirstStartTakesTheOldestFormatsTextAndAutoPaste) {
    preferences.set("clipboardText", std::string("My old text"));
    preferences.set("autoPaste", true);
    const Items& items = start().items();
    ASSERT_EQ(items.size(), 1U);
    EXPECT_EQ(items[0].text, "My old text");
    EXPECT_EQ(items[0].title, "Driftmark");
    EXPECT_TRUE(items[0].usesSmartPaste);
    EXPECT_TRUE(preferences.object("clipboardText"));
    EXPECT_TRUE(preferences.object("autoPaste"));
}

TEST_F(MenuItemManagerTest, MigratesLegacyRecordsInOrder) {
    const json legacy = json::array({legacyRecord("first", false),
                                     legacyRecord("the second text is longer than twenty", true),
                                     legacyRecord("third", false)});
    preferences.set("clipboardTextItems", bytesOf(legacy.dump()));
    preferences.set("autoPaste", true);
    preferences.set("clipboardText", std::string("ignored when records exist"));

    const Items& items = start().items();
    EXPECT_EQ(titles(items), (std::vector<std::string>{"first", "the second text is l", "third"}));
    EXPECT_EQ(items[1].text, "the second text is longer than twenty");
    const auto blue = CodableColor::fromPlatformColor(Color::systemBlue());
    const auto gray = CodableColor::fromPlatformColor(Color::systemGray());
    EXPECT_EQ(items[0].iconColor, gray);
    EXPECT_EQ(items[1].iconColor, blue);
    EXPECT_EQ(items[2].iconColor, gray);
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].order, static_cast<std::int64_t>(i));
        EXPECT_TRUE(items[i].usesSmartPaste);
        EXPECT_NE(items[i].id().toString(), legacy[i]["id"].get<std::string>());
    }
    EXPECT_EQ(stored(), items);
    EXPECT_FALSE(preferences.object("clipboardTextItems"));

    const std::string log = logText();
    const std::string line = std::string("[") +
                             std::string(AppLogger::printedForm(AppLogger::LogLevel::info)) +
                             "] [MenuItemManager.cpp:";
    EXPECT_NE(log.find(line), std::string::npos) << log;
    EXPECT_NE(log.find("] migrateFromOldFormat() - Migrated 3 items from old format\n"), std::string::npos)
        << log;
    EXPECT_EQ(log.find("Migrated"), log.rfind("Migrated"));
}

TEST_F(MenuItemManagerTest, AMigrationCutShortAfterSavingTheNewListDropsTheOldRecordsAtTheNextStart) {
    const Items migrated{MenuBarItem("first", "first", Color::systemBlue(), false, 0)};
    store(migrated);
    preferences.set("clipboardTextItems", bytesOf(json::array({legacyRecord("first", true)}).dump()));
    preferences.set("clipboardText", std::string("kept"));

    EXPECT_EQ(start().items(), migrated) << "migrated once, not twice";
    EXPECT_FALSE(preferences.object("clipboardTextItems"));
    EXPECT_TRUE(preferences.object("clipboardText"))
        << "the oldest format's keys stay, as after any migration";
    EXPECT_EQ(logText().find("Migrated"), std::string::npos);
}

TEST_F(MenuItemManagerTest, EmptyLegacyArrayLeavesAnEmptyListUntilTheNextStart) {
    preferences.set("clipboardTextItems", bytesOf("[]"));
    EXPECT_TRUE(start().items().empty());
    EXPECT_EQ(stored(), Items{});
    EXPECT_FALSE(preferences.object("clipboardTextItems"));
    EXPECT_NE(logText().find("Migrated 0 items from old format"), std::string::npos);

    manager.reset();
    const Items& items = start().items();
    ASSERT_EQ(items.size(), 1U);
    EXPECT_EQ(items[0].title, "Driftmark");
}

TEST_F(MenuItemManagerTest, UnreadableLegacyRecordsFallBackToTheDefaultEntryAndStay) {
    const Bytes broken = bytesOf(R"([{"id":"not-a-uuid","text":"x","isActive":true,"createdAt":1}])");
    preferences.set("clipboardTextItems", broken);
    const Items& items = start().items();
    ASSERT_EQ(items.size(), 1U);
    EXPECT_EQ(items[0].text, "Driftmark about this.");
    EXPECT_EQ(preferences.data("clipboardTextItems"), broken);
}

TEST_F(MenuItemManagerTest, LoadingSortsByOrderWithoutRenumberingOrSaving) {
    store({itemTitled("five", 5), itemTitled("two", 2)});
    preferences.writes = 0;
    EXPECT_EQ(titles(start().items()), (std::vector<std::string>{"two", "five"}));
    EXPECT_EQ(manager->items()[0].order, 2);
    EXPECT_EQ(manager->items()[1].order, 5);
    EXPECT_EQ(preferences.writes, 0);

    Announcements announcements(*manager);
    manager->loadItems();
    EXPECT_EQ(announcements.lists.size(), 1U);
    EXPECT_EQ(announcements.aboutToChange, 1);
}

TEST_F(MenuItemManagerTest, LoadingKeepsLongListsWholeAndEqualOrdersInStoredOrder) {
    // Long enough that an unstable sort would reorder equal keys.
    Items many;
    for (int i = 0; i < 40; ++i) {
        many.push_back(itemTitled(std::to_string(i), (i * 7) % 5 - 2));
    }
    store(many);
    const Items& loaded = start().items();
    ASSERT_EQ(loaded.size(), many.size());
    for (std::size_t i = 1; i < loaded.size(); ++i) {
        const MenuBarItem& previous = loaded[i - 1];
        const MenuBarItem& current = loaded[i];
        ASSERT_LE(previous.order, current.order);
        if (previous.order == current.order) {
            EXPECT_LT(std::stoi(previous.title), std::stoi(current.title)) << i;
        }
    }
}

TEST_F(MenuItemManagerTest, AddAppendsThenRenumbersOneElementAtATime) {
    store({itemTitled("five", 5), itemTitled("two", 2)});
    start();
    preferences.writes = 0;
    Announcements announcements(*manager);
    MenuBarItem added = itemTitled("new", 42);
    manager->addItem(added);

    EXPECT_EQ(announcements.orders(),
              (std::vector<std::vector<std::int64_t>>{{2, 5, 2}, {0, 5, 2}, {0, 1, 2}, {0, 1, 2}}));
    EXPECT_EQ(announcements.aboutToChange, 4);
    EXPECT_EQ(titles(announcements.currentDuringDelivery[0]), (std::vector<std::string>{"two", "five"}));
    added.order = 2;
    EXPECT_EQ(manager->items().back(), added);
    EXPECT_EQ(stored(), manager->items());
    EXPECT_EQ(preferences.writes, 1);

    manager->addItem(manager->items()[0]);
    EXPECT_EQ(manager->items().size(), 4U);
    EXPECT_EQ(manager->items()[3].id(), manager->items()[0].id());
}

TEST_F(MenuItemManagerTest, ChangesAreHandedOverBeforeTheyTakeEffect) {
    startWith({"a"});
    Announcements announcements(*manager);
    manager->setItems({itemTitled("x", 0), itemTitled("y", 1)});
    ASSERT_EQ(announcements.lists.size(), 1U);
    EXPECT_EQ(titles(announcements.lists[0]), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(titles(announcements.currentDuringDelivery[0]), std::vector<std::string>{"a"});
    EXPECT_EQ(titles(manager->items()), (std::vector<std::string>{"x", "y"}));
    EXPECT_EQ(announcements.aboutToChange, 1);
    EXPECT_EQ(preferences.writes, 0);
    EXPECT_EQ(titles(*stored()), (std::vector<std::string>{"a"}));
}

TEST_F(MenuItemManagerTest, AddIsRefusedAtTheLimit) {
    startWith({"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"});
    Announcements announcements(*manager);
    manager->addItem(itemTitled("eleventh", 10));
    EXPECT_EQ(manager->items().size(), MenuItemManager::maxItems);
    EXPECT_TRUE(announcements.lists.empty());
    EXPECT_EQ(announcements.aboutToChange, 0);
    EXPECT_EQ(preferences.writes, 0);
}

TEST_F(MenuItemManagerTest, RemoveMovesLaterItemsUpAndNeverRemovesTheLast) {
    startWith({"a", "b", "c"});
    Announcements announcements(*manager);
    for (const std::ptrdiff_t index : {-1, 3, 100}) {
        manager->removeItemAt(index);
    }
    EXPECT_TRUE(announcements.lists.empty());
    EXPECT_EQ(preferences.writes, 0);

    manager->removeItemAt(1);
    EXPECT_EQ(titles(manager->items()), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(manager->items()[1].order, 1);
    EXPECT_EQ(announcements.lists.size(), 3U);
    EXPECT_EQ(announcements.aboutToChange, 3);
    EXPECT_EQ(stored(), manager->items());

    manager->removeItemAt(0);
    announcements.lists.clear();
    preferences.writes = 0;
    manager->removeItemAt(0);
    EXPECT_EQ(titles(manager->items()), (std::vector<std::string>{"c"}));
    EXPECT_TRUE(announcements.lists.empty());
    EXPECT_EQ(preferences.writes, 0);
}

TEST_F(MenuItemManagerTest, UpdateReplacesInPlaceAndIgnoresUnknownIds) {
    startWith({"a", "b", "c"});
    Announcements announcements(*manager);

    MenuBarItem edited = manager->items()[1];
    edited.title = "edited";
    edited.text = "new text";
    edited.prependNewline = true;
    edited.keyboardShortcutName = "kept";
    edited.order = 0;
    manager->updateItem(edited);
    EXPECT_EQ(titles(manager->items()), (std::vector<std::string>{"a", "edited", "c"}));
    edited.order = 1;
    EXPECT_EQ(manager->items()[1], edited);
    EXPECT_EQ(announcements.lists.size(), 4U);
    EXPECT_EQ(stored(), manager->items());

    announcements.lists.clear();
    preferences.writes = 0;
    manager->updateItem(itemTitled("stranger", 1));
    EXPECT_TRUE(announcements.lists.empty());
    EXPECT_EQ(preferences.writes, 0);
}

TEST_F(MenuItemManagerTest, MigrationAndDefaultAnnounceEveryStep) {
    Announcements announcements(start());
    manager->setItems({});
    preferences.set("clipboardTextItems",
                    bytesOf(json::array({legacyRecord("a", true), legacyRecord("b", false)}).dump()));
    announcements.lists.clear();
    announcements.aboutToChange = 0;
    manager->migrateFromOldFormat();
    EXPECT_EQ(announcements.orders(), (std::vector<std::vector<std::int64_t>>{{0}, {0, 1}, {0, 1}, {0, 1}}));
    EXPECT_EQ(announcements.aboutToChange, 4);

    announcements.lists.clear();
    manager->migrateFromOldFormat();
    EXPECT_EQ(announcements.orders(), (std::vector<std::vector<std::int64_t>>{{0}, {0}}));
}

TEST_F(MenuItemManagerTest, UnreadableStoredListIsKeptAsideBeforeBeingReplaced) {
    const Bytes unreadable = bytesOf(R"([{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","text":"mine"}])");
    preferences.set(MenuItemManager::storageKey, unreadable);
    CapturedStandardError standardError;
    const Items& items = start().items();
    ASSERT_EQ(items.size(), 1U);
    EXPECT_EQ(items[0].title, "Driftmark");
    EXPECT_EQ(stored(), items);
    EXPECT_EQ(preferences.data(MenuItemManager::unreadableStorageKey), unreadable);

    const std::string log = logText();
    const std::string warning =
        std::string("[") + std::string(AppLogger::printedForm(AppLogger::LogLevel::warning)) + "]";
    const std::string message =
        "Stored menu bar items could not be read; kept them under \"menuBarItems.unreadable\"\n";
    const auto at = log.find(message);
    ASSERT_NE(at, std::string::npos) << log;
    EXPECT_EQ(at, log.rfind(message));
    EXPECT_NE(log.rfind(warning, at), std::string::npos);
    EXPECT_EQ(standardError.text(), message);
}

TEST_F(MenuItemManagerTest, EveryFurtherUnreadableListIsKeptUnderAKeyOfItsOwn) {
    const std::string unreadableKey = MenuItemManager::unreadableStorageKey;
    preferences.set(unreadableKey, bytesOf("kept first"));
    preferences.set(unreadableKey + ".2", bytesOf("kept second"));
    preferences.set(MenuItemManager::storageKey, bytesOf("third damage"));
    CapturedStandardError standardError;
    EXPECT_EQ(start().items().size(), 1U);

    EXPECT_EQ(preferences.data(unreadableKey), bytesOf("kept first"));
    EXPECT_EQ(preferences.data(unreadableKey + ".2"), bytesOf("kept second"));
    EXPECT_EQ(preferences.data(unreadableKey + ".3"), bytesOf("third damage"));
    const std::string message =
        "Stored menu bar items could not be read; kept them under \"menuBarItems.unreadable.3\"\n";
    EXPECT_EQ(occurrences(logText(), message), 1U);
    EXPECT_EQ(standardError.text(), message);
}

TEST_F(MenuItemManagerTest, AStoredListOfAnotherKindIsKeptAsideAndReported) {
    for (const PreferenceValue& value :
         {PreferenceValue(std::string("my entries")), PreferenceValue(std::int64_t{7}), PreferenceValue(true),
          PreferenceValue(2.5)}) {
        CountingPreferencesStore local;
        local.set(MenuItemManager::storageKey, value);
        CapturedStandardError standardError;
        const MenuItemManager localManager(local, logger);
        ASSERT_EQ(localManager.items().size(), 1U);
        EXPECT_EQ(localManager.items()[0].title, "Driftmark");
        EXPECT_EQ(local.object(MenuItemManager::unreadableStorageKey), value) << value.index();
        EXPECT_EQ(standardError.text(),
                  "Stored menu bar items could not be read; kept them under \"menuBarItems.unreadable\"\n");
    }
    EXPECT_EQ(occurrences(logText(), "Stored menu bar items could not be read"), 4U);
}

TEST_F(MenuItemManagerTest, LaterEntriesWithAnIdTakenAlreadyGetFreshIdsSavedOnceWithOneLine) {
    Items items{itemTitled("a", 0), itemTitled("c", 2)};
    const auto copyOfA = [&items](const std::string& title, std::int64_t order) {
        MenuBarItem copy = items[0];
        copy.title = title;
        copy.order = order;
        return copy;
    };
    items.push_back(copyOfA("d", 3));
    items.push_back(copyOfA("b", 1));
    store(items);
    preferences.writes = 0;
    start();

    EXPECT_EQ(titles(manager->items()), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(manager->items()[0].id(), items[0].id());
    EXPECT_EQ(manager->items()[2].id(), items[1].id());
    std::set<Uuid> ids;
    for (const MenuBarItem& item : manager->items()) {
        ids.insert(item.id());
    }
    EXPECT_EQ(ids.size(), 4U);
    EXPECT_EQ(manager->items()[1].text, "text of a");
    EXPECT_EQ(stored(), manager->items());
    EXPECT_EQ(preferences.writes, 1);
    EXPECT_EQ(occurrences(logText(), "] loadItems() - "), 1U) << logText();
    EXPECT_EQ(occurrences(logText(), "fresh id"), 1U) << logText();

    // Each entry can be changed on its own now.
    MenuBarItem renamed = manager->items()[3];
    renamed.title = "d renamed";
    manager->updateItem(renamed);
    EXPECT_EQ(titles(manager->items()), (std::vector<std::string>{"a", "b", "c", "d renamed"}));
}

TEST_F(MenuItemManagerTest, UnreadableStoredListIsKeptAsideWhenLegacyRecordsAreMigrated) {
    preferences.set(MenuItemManager::storageKey, bytesOf("not json"));
    preferences.set("clipboardTextItems", bytesOf(json::array({legacyRecord("old", true)}).dump()));
    EXPECT_EQ(titles(start().items()), std::vector<std::string>{"old"});
    EXPECT_EQ(preferences.data(MenuItemManager::unreadableStorageKey), bytesOf("not json"));
    EXPECT_EQ(stored(), manager->items());
}

TEST_F(MenuItemManagerTest, ReadableStoredListsAreNotKeptAside) {
    preferences.set(MenuItemManager::storageKey, bytesOf("[]"));
    EXPECT_EQ(start().items().size(), 1U);
    EXPECT_FALSE(preferences.object(MenuItemManager::unreadableStorageKey));
    EXPECT_EQ(logText().find("could not be read"), std::string::npos);
}

TEST_F(MenuItemManagerTest, AFailedEncodingKeepsTheStoredListAndTheChange) {
    startWith({"a"});
    const auto before = preferences.data(MenuItemManager::storageKey);
    MenuBarItem broken = itemTitled("broken", 1);
    broken.text = "invalid \xFF utf-8";
    manager->addItem(broken);
    EXPECT_EQ(manager->items().size(), 2U);
    EXPECT_EQ(preferences.data(MenuItemManager::storageKey), before);
}

} // namespace
} // namespace driftmark
