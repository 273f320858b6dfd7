#include "support/LaunchAtLogin.h"

#include "fakes/FakeLoginItemService.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace driftmark {
namespace {

using Calls = std::vector<std::string>;

class LaunchAtLoginTest : public testing::Test {
protected:
    test::FakeLoginItemService service;
    std::ostringstream output;
};

TEST_F(LaunchAtLoginTest, StartsFromTheItemsStateWithoutRegistering) {
    service.enabled = true;
    LaunchAtLogin launchAtLogin(service, output);
    EXPECT_TRUE(launchAtLogin.isEnabled());

    service.enabled = false;
    LaunchAtLogin off(service, output);
    EXPECT_FALSE(off.isEnabled());
    EXPECT_TRUE(service.calls.empty());
    EXPECT_EQ(output.str(), "");
}

TEST_F(LaunchAtLoginTest, SwitchingOnRegistersOnceAndWritingTrueAgainDoesNothing) {
    LaunchAtLogin launchAtLogin(service, output);
    launchAtLogin.setEnabled(true);
    launchAtLogin.setEnabled(true);
    EXPECT_TRUE(launchAtLogin.isEnabled());
    EXPECT_EQ(service.calls, Calls{"register"});
    EXPECT_TRUE(service.enabled);
    EXPECT_EQ(output.str(), "");
}

TEST_F(LaunchAtLoginTest, SwitchingOnAnItemThatIsAlreadyThereUnregistersItFirst) {
    LaunchAtLogin launchAtLogin(service, output);
    // Enabled outside the program after the flag was read.
    service.enabled = true;
    launchAtLogin.setEnabled(true);
    EXPECT_EQ(service.calls, (Calls{"unregister", "register"}));
    EXPECT_TRUE(service.enabled);
    EXPECT_EQ(output.str(), "");
}

TEST_F(LaunchAtLoginTest, AFailedFirstUnregisterStopsTheRegistration) {
    LaunchAtLogin launchAtLogin(service, output);
    service.enabled = true;
    service.unregisterError = "Permission denied";
    launchAtLogin.setEnabled(true);
    EXPECT_EQ(service.calls, Calls{"unregister"});
    EXPECT_EQ(output.str(), "Failed to register launch at login: Permission denied\n");
    EXPECT_TRUE(launchAtLogin.isEnabled());
}

TEST_F(LaunchAtLoginTest, AFailedRegistrationPrintsOneLineAndTurnsTheSwitchBackOff) {
    LaunchAtLogin launchAtLogin(service, output);
    std::vector<bool> shown;
    const auto changes = launchAtLogin.subscribe([&](const bool& enabled) { shown.push_back(enabled); });
    service.registerError = "No space left on device";
    launchAtLogin.setEnabled(true);
    EXPECT_EQ(service.calls, Calls{"register"});
    EXPECT_EQ(output.str(), "Failed to register launch at login: No space left on device\n");
    EXPECT_FALSE(launchAtLogin.isEnabled());
    EXPECT_EQ(shown, (std::vector<bool>{false, true, false}));
}

TEST_F(LaunchAtLoginTest, SwitchingOffUnregistersOnceAndNothingWhenAlreadyOff) {
    LaunchAtLogin off(service, output);
    off.setEnabled(false);
    EXPECT_TRUE(service.calls.empty());

    service.enabled = true;
    LaunchAtLogin on(service, output);
    on.setEnabled(false);
    on.setEnabled(false);
    EXPECT_FALSE(on.isEnabled());
    EXPECT_EQ(service.calls, Calls{"unregister"});
    EXPECT_FALSE(service.enabled);
    EXPECT_EQ(output.str(), "");
}

// The entry that is still there starts the program at login: the switch says so.
TEST_F(LaunchAtLoginTest, AFailedUnregistrationPrintsOneLineAndTurnsTheSwitchBackOn) {
    service.enabled = true;
    LaunchAtLogin launchAtLogin(service, output);
    service.unregisterError = "Read-only file system";
    launchAtLogin.setEnabled(false);
    EXPECT_EQ(service.calls, Calls{"unregister"});
    EXPECT_EQ(output.str(), "Failed to unregister launch at login: Read-only file system\n");
    EXPECT_TRUE(launchAtLogin.isEnabled());
}

TEST_F(LaunchAtLoginTest, ObserversHearOfEachChangeBeforeItTakesEffect) {
    LaunchAtLogin launchAtLogin(service, output);
    std::vector<std::string> events;
    const auto about = launchAtLogin.subscribeToAboutToChange(
        [&] { events.push_back(std::string("about, was ") + (launchAtLogin.isEnabled() ? "on" : "off")); });
    const auto changes = launchAtLogin.subscribe([&](const bool& enabled) {
        events.push_back(std::string("new ") + (enabled ? "on" : "off") + ", calls " +
                         std::to_string(service.calls.size()));
    });
    launchAtLogin.setEnabled(true);
    launchAtLogin.setEnabled(true);
    launchAtLogin.setEnabled(false);
    EXPECT_EQ(events, (std::vector<std::string>{"new off, calls 0", "about, was off", "new on, calls 0",
                                                "about, was on", "new off, calls 1"}));
}

} // namespace
} // namespace driftmark
