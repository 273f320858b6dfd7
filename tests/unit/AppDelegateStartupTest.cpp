#include "app/AppDelegate.h"
#include "fakes/AppHarness.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace driftmark {
namespace {

using test::makeItem;
using testing::Contains;
using testing::ElementsAre;
using testing::Not;

// The timeline's events without their time stamps (start-up takes no time).
std::vector<std::string> untimed(const std::vector<std::string>& events) {
    std::vector<std::string> result;
    for (const std::string& event : events) {
        result.push_back(event.substr(event.find(' ') + 1));
    }
    return result;
}

class AppDelegateStartupTest : public testing::Test {
protected:
    std::shared_ptr<AppDelegate> launch(const std::vector<MenuBarItem>& items) {
        harness = std::make_unique<test::AppHarness>(items);
        return harness->launch();
    }
    test::FakePlatform& platform() { return harness->platform; }

    std::unique_ptr<test::AppHarness> harness;
};

TEST_F(AppDelegateStartupTest, RunsTheStartUpStepsInOrder) {
    const MenuBarItem item = makeItem("Greeting", "Hello", false);
    const auto delegate = launch({item});
    const std::string name = MenuBarManager::autosaveName(item.id());

    EXPECT_THAT(untimed(platform().timeline.events()),
                ElementsAre("log: info AppDelegate: 🚀 Driftmark starting up...",
                            "log: basic: 🚀 Driftmark starting up via NSLog...",
                            "log: info MenuBarManager: Updating menu bar items, count: 1",
                            "log: debug MenuBarManager: Creating status item for: Greeting",
                            "statusBar: item " + name,
                            "application: setAccessoryActivationPolicy", "trust: isTrusted",
                            "log: info AppDelegate: Bundle ID: app.driftmark.menubar",
                            "log: info AppDelegate: Executable: driftmark-menubar",
                            "log: debug AppDelegate: App startup - Accessibility permissions: GRANTED"));
    // The leveled logger's lines land whenever its writer gets to them; the delegate's own are in order.
    std::vector<std::string> delegateLines;
    for (const std::string& line : harness->dailyLog()) {
        if (!line.starts_with("[")) {
            delegateLines.push_back(line);
        }
    }
    EXPECT_THAT(delegateLines, ElementsAre("=== driftmark-menubar Log - Friday, 7 March 2025 ===", "",
                                           "🚀 Driftmark starting up...",
                                           "Log file location: " + harness->logWriter.logFileURL().string(),
                                           "App startup - Accessibility permissions: GRANTED",
                                           "Setting up keyboard shortcuts...",
                                           "Keyboard shortcuts manager initialized with 1 items"));
    ASSERT_NE(delegate->menuBarManager(), nullptr);
    EXPECT_EQ(delegate->menuBarManager()->statusItems().size(), 1u);
    EXPECT_EQ(platform().accessibilityTrust.prompts, 0);
}

TEST_F(AppDelegateStartupTest, PromptsOnlyWhenAnEntryUsesSmartPasteWithoutPermission) {
    struct Case {
        bool smartPaste;
        bool trusted;
        int prompts;
    };
    for (const Case& c : {Case{false, false, 0}, Case{true, true, 0}, Case{true, false, 1}}) {
        SCOPED_TRACE(testing::Message() << "smartPaste " << c.smartPaste << ", trusted " << c.trusted);
        harness = std::make_unique<test::AppHarness>(
            std::vector{makeItem("Plain", "a", false), makeItem("Maybe", "b", c.smartPaste, 1)});
        platform().accessibilityTrust.trusted = c.trusted;
        harness->makeDelegate()->applicationDidFinishLaunching();

        EXPECT_EQ(platform().accessibilityTrust.prompts, c.prompts);
        const auto log = platform().logMessages("AppDelegate");
        const std::string permission = std::string("App startup - Accessibility permissions: ") +
                                       (c.trusted ? "GRANTED" : "NOT GRANTED");
        EXPECT_THAT(log, Contains(permission));
        EXPECT_THAT(harness->dailyLog(), Contains(permission));
        if (c.prompts > 0) {
            EXPECT_THAT(
                untimed(platform().timeline.events()),
                testing::IsSupersetOf({"log: error AppDelegate: App needs Accessibility permissions for "
                                       "Smart Paste to work!",
                                       "trust: isTrustedWithPrompt",
                                       "log: info AppDelegate: Prompted for accessibility: false"}));
        } else {
            EXPECT_THAT(log, Not(Contains("App needs Accessibility permissions for Smart Paste to work!")));
        }
    }
}

TEST_F(AppDelegateStartupTest, EmptyListBuildsNothingAndNeverPrompts) {
    harness = std::make_unique<test::AppHarness>(std::vector<MenuBarItem>{});
    harness->menuItemManager.setItems({});
    platform().accessibilityTrust.trusted = false;
    platform().application.identifier.reset();
    const auto delegate = harness->makeDelegate();
    delegate->applicationDidFinishLaunching();

    EXPECT_TRUE(platform().statusBar.items().empty());
    EXPECT_EQ(platform().accessibilityTrust.prompts, 0);
    EXPECT_THAT(platform().logMessages("AppDelegate"), Contains("Bundle ID: unknown"));
    EXPECT_TRUE(platform().application.isAccessory);
}

TEST_F(AppDelegateStartupTest, LaterListChangesReconcileTheStatusItems) {
    const MenuBarItem first = makeItem("First", "1", false);
    const auto delegate = launch({first});
    const MenuBarItem second = makeItem("Second", "2", false);

    harness->menuItemManager.addItem(second);
    EXPECT_EQ(platform().statusBar.autosaveNames(), (std::vector{MenuBarManager::autosaveName(first.id()),
                                                                 MenuBarManager::autosaveName(second.id())}));

    harness->menuItemManager.removeItemAt(0);
    EXPECT_EQ(platform().statusBar.removed, std::vector{MenuBarManager::autosaveName(first.id())});
}

TEST_F(AppDelegateStartupTest, NothingKeepsTheDelegateAliveAndTheStoreForgetsIt) {
    auto delegate = launch({makeItem("First", "1", false)});
    const std::weak_ptr<AppDelegate> watcher = delegate;
    delegate.reset();
    EXPECT_TRUE(watcher.expired());

    harness->menuItemManager.addItem(makeItem("Second", "2", false));
    EXPECT_TRUE(platform().statusBar.items().empty());
}

} // namespace
} // namespace driftmark
