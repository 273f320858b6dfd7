#include "app/KeyboardShortcutsManager.h"

#include "fakes/KeyboardShortcutsTestbed.h"
#include "fakes/ManualClock.h"
#include "fakes/TestEnvironment.h"
#include "fakes/TextFile.h"
#include "platform/Color.h"
#include "support/AppLogger.h"
#include "support/LogCalendar.h"
#include "support/LogFiles.h"

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>

namespace driftmark {
namespace {

using KeyboardShortcuts::Key;
using KeyboardShortcuts::ModifierFlags;
using KeyboardShortcuts::Name;
using KeyboardShortcuts::Shortcut;
using testing::AllOf;
using testing::Contains;
using testing::ElementsAre;
using testing::EndsWith;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::Not;

constexpr std::uint32_t controlShift = 0x1200;
constexpr std::uint32_t commandBit = 0x100;
const Shortcut commandK(Key::k, ModifierFlags::command);

class KeyboardShortcutsManagerTest : public testing::Test {
protected:
    KeyboardShortcutsManager& start() {
        manager = std::make_unique<KeyboardShortcutsManager>(bed.module, logger);
        return *manager;
    }

    // The log's lines, each without its timestamp and level.
    std::vector<std::string> logLines() {
        logger.flush();
        std::vector<std::string> lines;
        std::istringstream text(test::readTextFile(files->dayFile("1970-01-01")));
        for (std::string line; std::getline(text, line);) {
            lines.push_back(line.substr(line.find("] [INFO] [") + 10));
        }
        return lines;
    }

    // The log's messages alone.
    std::vector<std::string> messages() {
        std::vector<std::string> result;
        for (const std::string& line : logLines()) {
            result.push_back(line.substr(line.find(" - ") + 3));
        }
        return result;
    }

    static MenuBarItem item(std::string title) {
        return MenuBarItem("text of " + title, title, Color{}, false, 0);
    }

    test::TemporaryDirectory directory;
    std::shared_ptr<LogFiles> files = std::make_shared<LogFiles>(directory.path() / "log");
    test::ManualClock clock;
    AppLogger logger{files, clock, LogCalendar{"UTC", "en_US"}};
    test::KeyboardShortcutsTestbed bed;
    std::unique_ptr<KeyboardShortcutsManager> manager;
    std::vector<std::string> calls;
};

TEST_F(KeyboardShortcutsManagerTest, AFirstStartStoresAndRegistersTheOlderShortcut) {
    start();
    EXPECT_EQ(bed.userDefaults.string("KeyboardShortcuts_copyToClipboard"),
              R"({"carbonKeyCode":32,"carbonModifiers":4608})");
    EXPECT_TRUE(bed.hotKeys.press(32, controlShift));
    EXPECT_TRUE(bed.hotKeys.release(32, controlShift));
    EXPECT_THAT(messages(), ElementsAre("KeyboardShortcutsManager initialized",
                                        "Legacy keyboard shortcut handler registered",
                                        "Legacy keyboard shortcut triggered!"));
    EXPECT_THAT(logLines()[0], testing::StartsWith("KeyboardShortcutsManager.cpp:"));
    EXPECT_THAT(logLines()[0], HasSubstr("] init() - "));
    EXPECT_THAT(logLines()[1], HasSubstr("] setupLegacyShortcut() - "));
}

TEST_F(KeyboardShortcutsManagerTest, TheOlderShortcutRunsTheCopyTextActionOnRelease) {
    start().copyTextAction = [this] { calls.push_back("copy first"); };
    bed.hotKeys.press(32, controlShift);
    EXPECT_THAT(calls, IsEmpty());
    bed.hotKeys.release(32, controlShift);
    EXPECT_THAT(calls, ElementsAre("copy first"));
}

TEST_F(KeyboardShortcutsManagerTest, AnOlderStoredShortcutIsConvertedOnce) {
    bed.userDefaults.set("shortcutKeyCode", std::int64_t{8});
    bed.userDefaults.set("shortcutModifiers", std::int64_t{0x900});
    start();
    EXPECT_EQ(bed.module.getShortcut(manager->copyToClipboard()),
              Shortcut(Key::c, ModifierFlags::option | ModifierFlags::command));
    EXPECT_FALSE(bed.userDefaults.object("shortcutKeyCode"));
    EXPECT_FALSE(bed.userDefaults.object("shortcutModifiers"));
    EXPECT_THAT(messages(), ElementsAre("KeyboardShortcutsManager initialized",
                                        "Legacy keyboard shortcut handler registered",
                                        "Found old shortcut settings - keyCode: 8, modifiers: 2304",
                                        "Migrated old shortcut to new format"));
    EXPECT_THAT(logLines()[3], HasSubstr("] migrateOldSettings() - "));
    // The default is no longer held; the converted shortcut is.
    EXPECT_FALSE(bed.hotKeys.press(32, controlShift));
    EXPECT_TRUE(bed.hotKeys.press(8, 0x900));
}

TEST_F(KeyboardShortcutsManagerTest, OlderShortcutsOutsideTheKeyTableStayForTheNextStart) {
    bed.userDefaults.set("shortcutKeyCode", std::int64_t{122});
    bed.userDefaults.set("shortcutModifiers", std::int64_t{0x100});
    start();
    EXPECT_TRUE(bed.userDefaults.object("shortcutKeyCode"));
    EXPECT_TRUE(bed.userDefaults.object("shortcutModifiers"));
    EXPECT_THAT(messages(), Contains("Found old shortcut settings - keyCode: 122, modifiers: 256"));
    EXPECT_THAT(messages(), Not(Contains("Migrated old shortcut to new format")));
    EXPECT_EQ(bed.module.getShortcut(manager->copyToClipboard()),
              Shortcut(Key::u, ModifierFlags::control | ModifierFlags::shift));
}

TEST_F(KeyboardShortcutsManagerTest, OlderModifiersMustHoldAKnownModifierWithinThirtyTwoBits) {
    for (const std::int64_t modifiers :
         {std::int64_t{0}, std::int64_t{0x20000 | 0x400}, std::int64_t{0x100000100}, std::int64_t{-256}}) {
        bed.userDefaults.set("shortcutKeyCode", std::int64_t{8});
        bed.userDefaults.set("shortcutModifiers", modifiers);
        KeyboardShortcutsManager another(bed.module, logger);
        EXPECT_TRUE(bed.userDefaults.object("shortcutModifiers")) << modifiers;
    }
    EXPECT_THAT(messages(), Not(Contains("Migrated old shortcut to new format")));
}

TEST_F(KeyboardShortcutsManagerTest, OlderValuesThatAreNotIntegersAreIgnoredQuietly) {
    bed.userDefaults.set("shortcutKeyCode", std::string("8"));
    bed.userDefaults.set("shortcutModifiers", std::int64_t{0x900});
    start();
    bed.userDefaults.set("shortcutKeyCode", std::int64_t{8});
    bed.userDefaults.set("shortcutModifiers", 2304.0);
    KeyboardShortcutsManager another(bed.module, logger);
    EXPECT_THAT(messages(), Not(Contains(HasSubstr("Found old shortcut settings"))));
}

TEST_F(KeyboardShortcutsManagerTest, ItemNamesComeFromTheUpperCaseId) {
    const auto id = Uuid::parse("6ba7b810-9dad-11d1-80b4-00c04fd430c8");
    ASSERT_TRUE(id);
    EXPECT_EQ(KeyboardShortcutsManager::menuItemName(*id).rawValue,
              "menuItem_6BA7B810-9DAD-11D1-80B4-00C04FD430C8");
    EXPECT_FALSE(KeyboardShortcutsManager::menuItemName(*id).defaultShortcut);
}

TEST_F(KeyboardShortcutsManagerTest, TheOlderShortcutNamedByItsStringKeepsItsDefault) {
    start();
    const Name older = manager->name("copyToClipboard");
    EXPECT_EQ(older.defaultShortcut, Shortcut(Key::u, ModifierFlags::control | ModifierFlags::shift));
    EXPECT_EQ(manager->name("menuItem_X").defaultShortcut, std::nullopt);
    EXPECT_EQ(manager->name("menuItem_X").rawValue, "menuItem_X");

    // Cleared through the name got from its string, it stays cleared at the next start.
    bed.module.setShortcut(std::nullopt, older);
    EXPECT_EQ(bed.userDefaults.object("KeyboardShortcuts_copyToClipboard"), PreferenceValue(false));
    manager.reset();
    start();
    EXPECT_EQ(bed.module.getShortcut(manager->copyToClipboard()), std::nullopt);
    EXPECT_FALSE(bed.hotKeys.press(32, controlShift));
}

TEST_F(KeyboardShortcutsManagerTest, RegisteringAnItemAgainReplacesItsAction) {
    start();
    const MenuBarItem first = item("First");
    bed.module.setShortcut(commandK, KeyboardShortcutsManager::menuItemName(first.id()));
    manager->registerShortcut(first, [this] { calls.push_back("action 1"); });
    manager->registerShortcut(first, [this] { calls.push_back("action 2"); });
    MenuBarItem renamed = first;
    renamed.title = "Renamed";
    manager->registerShortcut(renamed, [this] { calls.push_back("action 3"); });

    bed.hotKeys.press(40, commandBit);
    EXPECT_THAT(calls, IsEmpty());
    bed.hotKeys.release(40, commandBit);
    EXPECT_THAT(calls, ElementsAre("action 3"));
    const auto lines = logLines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) {
                                return line.find("Keyboard shortcut triggered for item: ") !=
                                       std::string::npos;
                            }),
              1);
    EXPECT_THAT(lines, Contains(AllOf(HasSubstr("] registerShortcut(for:action:) - "),
                                      EndsWith("Keyboard shortcut triggered for item: Renamed"))));
    EXPECT_THAT(lines, Contains(AllOf(HasSubstr("] registerShortcut(for:action:) - "),
                                      EndsWith("Registered shortcut for item: First with id: " +
                                               first.id().toString()))));
}

TEST_F(KeyboardShortcutsManagerTest, AnItemGetsItsHotKeyWhenAShortcutIsRecordedForIt) {
    start();
    const MenuBarItem first = item("First");
    const auto attempts = bed.hotKeys.attempts.size();
    manager->registerShortcut(first, [this] { calls.push_back("first"); });
    EXPECT_EQ(bed.hotKeys.attempts.size(), attempts);

    bed.module.setShortcut(commandK, KeyboardShortcutsManager::menuItemName(first.id()));
    bed.hotKeys.release(40, commandBit);
    EXPECT_THAT(calls, ElementsAre("first"));
}

TEST_F(KeyboardShortcutsManagerTest, ItemsThatLeaveTheListLoseTheirHotKeyButKeepTheirShortcut) {
    start();
    const MenuBarItem kept = item("Kept");
    const MenuBarItem removed = item("Removed");
    const Name removedName = KeyboardShortcutsManager::menuItemName(removed.id());
    bed.module.setShortcut(commandK, removedName);
    manager->registerShortcut(kept, [this] { calls.push_back("kept"); });
    manager->registerShortcut(removed, [this] { calls.push_back("removed"); });

    manager->updateShortcuts({kept});
    EXPECT_FALSE(bed.hotKeys.release(40, commandBit));
    EXPECT_THAT(calls, IsEmpty());
    EXPECT_EQ(bed.module.getShortcut(removedName), commandK);
    EXPECT_THAT(messages(), Contains("Unregistered shortcut for item id: " + removed.id().toString()));
    EXPECT_THAT(messages(), Contains("Updated shortcuts for 1 items"));

    // The same item back again brings its old shortcut with it.
    manager->registerShortcut(removed, [this] { calls.push_back("back"); });
    EXPECT_TRUE(bed.hotKeys.release(40, commandBit));
    EXPECT_THAT(calls, ElementsAre("back"));
}

TEST_F(KeyboardShortcutsManagerTest, ActionsOutliveNoManager) {
    start();
    const MenuBarItem first = item("First");
    bed.module.setShortcut(commandK, KeyboardShortcutsManager::menuItemName(first.id()));
    manager->registerShortcut(first, [this] { calls.push_back("first"); });
    manager->copyTextAction = [this] { calls.push_back("copy"); };
    manager.reset();
    bed.hotKeys.release(40, commandBit);
    bed.hotKeys.release(32, controlShift);
    EXPECT_THAT(calls, IsEmpty());
}

} // namespace
} // namespace driftmark
