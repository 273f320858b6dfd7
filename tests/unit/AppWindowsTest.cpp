#include "app/AppWindows.h"

#include "fakes/AppHarness.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace driftmark::test {
namespace {

using ::testing::Contains;

struct AppWindowsTest : ::testing::Test {
    AppHarness harness{{makeItem("Greeting", "Hello", false)}};
    FakeWindowService& windows = harness.platform.windows;
    MemoryPreferencesStore& preferences = harness.preferences;
};

TEST_F(AppWindowsTest, TheSettingsWindowOpensOnceAtTheStoredOrDefaultSizeAndIsShownAgainAfterwards) {
    const auto delegate = harness.launch();
    delegate->openSettings();
    ASSERT_EQ(windows.made.size(), 1U);
    const auto& configuration = windows.made.front()->configuration;
    EXPECT_EQ(configuration.content, WindowContent::settingsView);
    EXPECT_EQ(configuration.contentSize, (Size{800, 820}));
    EXPECT_EQ(configuration.title, "Settings driftmark.app");
    EXPECT_EQ(configuration.minSize, (Size{700, 500}));
    EXPECT_EQ(configuration.maxSize, (Size{1000, 900}));
    EXPECT_TRUE(configuration.style.resizable);
    EXPECT_EQ(windows.made.front()->centerRequests, 1);

    delegate->openSettings();
    EXPECT_EQ(windows.made.size(), 1U) << "the same window comes back";
    EXPECT_EQ(windows.made.front()->frontRequests, 2);
    EXPECT_EQ(windows.activations, 2) << "every request brings Driftmark in front of the active application";
}

TEST_F(AppWindowsTest, AStoredSizeThatIsNotPositiveFallsBackToTheDefaultOneAxisAtATime) {
    preferences.set(AppWindows::widthKey, 950.0);
    preferences.set(AppWindows::heightKey, -3.0);
    AppWindows appWindows(windows, preferences);
    appWindows.openSettings();
    EXPECT_EQ(windows.made.front()->configuration.contentSize, (Size{950, 820}));
}

TEST_F(AppWindowsTest, ResizingTheSettingsWindowStoresItsOwnSizeForTheNextStart) {
    {
        AppWindows appWindows(windows, preferences);
        appWindows.openSettings();
        windows.made.front()->resize({912, 640});
        EXPECT_EQ(preferences.doubleValue(AppWindows::widthKey), 912);
        EXPECT_EQ(preferences.doubleValue(AppWindows::heightKey), 640);
    }
    windows.made.clear();
    AppWindows nextRun(windows, preferences);
    nextRun.openSettings();
    EXPECT_EQ(windows.made.front()->configuration.contentSize, (Size{912, 640}));
}

TEST_F(AppWindowsTest, TheAboutWindowHasAFixedSizeAndItsResizingStoresNothing) {
    AppWindows appWindows(windows, preferences);
    appWindows.openAbout();
    appWindows.openAbout();
    ASSERT_EQ(windows.made.size(), 1U);
    const auto& configuration = windows.made.front()->configuration;
    EXPECT_EQ(configuration.content, WindowContent::aboutView);
    EXPECT_EQ(configuration.contentSize, (Size{380, 380}));
    EXPECT_FALSE(configuration.style.resizable);
    EXPECT_EQ(configuration.title, "About Driftmark");

    windows.made.front()->resize({500, 500});
    EXPECT_FALSE(preferences.object(AppWindows::widthKey).has_value());
    EXPECT_FALSE(preferences.object(AppWindows::heightKey).has_value());
}

TEST_F(AppWindowsTest, EditingAnEntryLogsItsTitleAndOpensTheSettingsWindow) {
    const auto delegate = harness.launch();
    delegate->editMenuItem(harness.menuItemManager.items().front());
    EXPECT_EQ(windows.made.size(), 1U);
    EXPECT_THAT(harness.platform.logMessages("AppDelegate"), Contains("Edit menu item: Greeting"));
}

constexpr const char* missingModule =
    "qrc:/driftmark/settings/SettingsWindow.qml:2:1: module \"QtQuick.Controls\" is not installed";

TEST_F(AppWindowsTest, ASettingsWindowThatCannotBeBuiltSaysWhyAndIsAskedForAgainNextTime) {
    windows.unavailable = missingModule;
    AppWindows appWindows(windows, preferences);
    EXPECT_EQ(appWindows.openSettings(), missingModule);
    EXPECT_EQ(appWindows.openSettings(), missingModule);
    EXPECT_EQ(windows.refusals, 2);
    EXPECT_EQ(appWindows.settingsWindow(), nullptr);
    EXPECT_EQ(windows.activations, 0) << "nothing came to the front";

    windows.unavailable.reset();
    EXPECT_EQ(appWindows.openSettings(), std::nullopt);
    ASSERT_EQ(windows.made.size(), 1U);
    EXPECT_EQ(appWindows.settingsWindow(), windows.made.front());
    EXPECT_EQ(windows.made.front()->frontRequests, 1);
    EXPECT_EQ(windows.activations, 1);
}

TEST_F(AppWindowsTest, AnAboutWindowThatCannotBeBuiltSaysWhyAndIsAskedForAgainNextTime) {
    windows.unavailable = "the settings library cannot be loaded: no such file";
    AppWindows appWindows(windows, preferences);
    EXPECT_EQ(appWindows.openAbout(), "the settings library cannot be loaded: no such file");
    EXPECT_EQ(windows.activations, 0);

    windows.unavailable.reset();
    EXPECT_EQ(appWindows.openAbout(), std::nullopt);
    ASSERT_EQ(windows.made.size(), 1U);
    EXPECT_EQ(windows.made.front()->configuration.title, "About Driftmark");
    EXPECT_EQ(windows.made.front()->centerRequests, 1);
}

TEST_F(AppWindowsTest, TheMenusWindowsThatCannotBeBuiltAreExplainedInANoticeAndLogged) {
    const auto delegate = harness.launch();
    windows.unavailable = missingModule;

    delegate->openSettings();
    delegate->editMenuItem(harness.menuItemManager.items().front());
    delegate->openAbout();
    EXPECT_THAT(
        windows.notices,
        ::testing::ElementsAre(std::string("Driftmark cannot open its settings window. | ") + missingModule,
                               std::string("Driftmark cannot open its settings window. | ") + missingModule,
                               std::string("Driftmark cannot open its about window. | ") + missingModule));
    EXPECT_THAT(
        harness.dailyLog(),
        ::testing::IsSupersetOf({std::string("ERROR: cannot open the settings window: ") + missingModule,
                                 std::string("ERROR: cannot open the about window: ") + missingModule}));
    EXPECT_THAT(harness.platform.logMessages("AppDelegate"),
                Contains(std::string("cannot open the settings window: ") + missingModule));

    windows.unavailable.reset();
    delegate->openSettings();
    EXPECT_EQ(windows.made.size(), 1U);
    EXPECT_EQ(windows.notices.size(), 3U) << "a window that opens brings no notice";
}

TEST_F(AppWindowsTest, ASettingsWindowAskedForByAnotherProgramGivesBackWhyItDidNotOpenWithoutANotice) {
    const auto delegate = harness.launch();
    windows.unavailable = missingModule;
    EXPECT_EQ(delegate->openSettingsWindow(),
              std::string("cannot open the settings window: ") + missingModule);
    EXPECT_TRUE(windows.notices.empty()) << "the other program tells its own user";
    EXPECT_THAT(harness.dailyLog(),
                Contains(std::string("ERROR: cannot open the settings window: ") + missingModule));

    windows.unavailable.reset();
    EXPECT_EQ(delegate->openSettingsWindow(), std::nullopt);
    EXPECT_EQ(windows.made.size(), 1U);
}

} // namespace
} // namespace driftmark::test
