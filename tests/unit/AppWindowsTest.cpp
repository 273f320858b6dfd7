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

// A desktop that cannot show the window leaves the request without effect, and a later request tries
// again.
class NoWindows final : public WindowService {
public:
    std::unique_ptr<PlatformWindow> makeWindow(const WindowConfiguration&, WindowDelegate*) override {
        ++attempts;
        return nullptr;
    }
    void activateIgnoringOtherApps() override {}
    int attempts = 0;
};

TEST_F(AppWindowsTest, AWindowThatCannotBeMadeIsAskedForAgainNextTime) {
    NoWindows none;
    AppWindows appWindows(none, preferences);
    appWindows.openSettings();
    appWindows.openSettings();
    EXPECT_EQ(none.attempts, 2);
    EXPECT_EQ(appWindows.settingsWindow(), nullptr);
}

} // namespace
} // namespace driftmark::test
