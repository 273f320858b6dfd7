#include "app/KeyboardShortcutsManager.h"
#include "fakes/KeyboardShortcutsTestbed.h"
#include "fakes/ManualClock.h"
#include "fakes/TestEnvironment.h"
#include "support/AppLogger.h"
#include "support/LogCalendar.h"
#include "support/LogFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <memory>

namespace driftmark {
namespace {

using KeyboardShortcuts::Key;
using KeyboardShortcuts::ModifierFlags;
using KeyboardShortcuts::Name;
using KeyboardShortcuts::Shortcut;
using testing::ElementsAre;
using testing::IsEmpty;

constexpr std::uint32_t commandBit = 0x100;
constexpr std::uint32_t shiftBit = 0x200;
constexpr std::uint32_t capsLockBit = 0x400;
constexpr std::uint32_t optionBit = 0x800;
constexpr std::uint32_t controlBit = 0x1000;
constexpr std::uint32_t kKey = 40;
constexpr std::uint32_t jKey = 38;
constexpr std::uint32_t uKey = 32;

RawKeyEvent down(std::uint32_t keyCode, std::uint32_t modifiers) {
    return {RawKeyEvent::Kind::down, keyCode, modifiers};
}

RawKeyEvent up(std::uint32_t keyCode, std::uint32_t modifiers) {
    return {RawKeyEvent::Kind::up, keyCode, modifiers};
}

// Keys typed while one of the application's menus is open: a release is matched to the press that was
// taken, not to the modifiers still held when the key comes up.
class MenuShortcutRelease : public testing::Test {
protected:
    // A name with the shortcut whose key-down and key-up actions are recorded under its label.
    void bind(const std::string& label, const Shortcut& shortcut) {
        const Name name = bed.module.makeName(label);
        bed.module.setShortcut(shortcut, name);
        bed.module.onKeyDown(name, [this, label] { calls.push_back(label + " down"); });
        bed.module.onKeyUp(name, [this, label] { calls.push_back(label + " up"); });
    }

    std::optional<EventHandling> type(const RawKeyEvent& event) { return bed.hotKeys.typeInMenu(event); }

    test::KeyboardShortcutsTestbed bed;
    std::vector<std::string> calls;
};

TEST_F(MenuShortcutRelease, ModifiersLetGoBeforeTheKeyStillReleaseTheShortcut) {
    bind("control-option-K", Shortcut(Key::k, ModifierFlags::control | ModifierFlags::option));
    bed.menuTracking.open();

    EXPECT_EQ(type(down(kKey, controlBit | optionBit)), EventHandling::handled);
    EXPECT_EQ(type(up(kKey, 0)), EventHandling::handled);
    EXPECT_THAT(calls, ElementsAre("control-option-K down", "control-option-K up"));

    // Some of them let go, others (and a lock) pressed in between.
    calls.clear();
    EXPECT_EQ(type(down(kKey, controlBit | optionBit | capsLockBit)), EventHandling::handled);
    EXPECT_EQ(type(up(kKey, optionBit | shiftBit)), EventHandling::handled);
    EXPECT_THAT(calls, ElementsAre("control-option-K down", "control-option-K up"));
}

TEST_F(MenuShortcutRelease, AReleaseGoesToTheShortcutOfItsPressWhenTheModifiersNowNameAnother) {
    bind("command-K", Shortcut(Key::k, ModifierFlags::command));
    bind("command-shift-K", Shortcut(Key::k, ModifierFlags::command | ModifierFlags::shift));
    bed.menuTracking.open();

    EXPECT_EQ(type(down(kKey, commandBit)), EventHandling::handled);
    EXPECT_EQ(type(up(kKey, commandBit | shiftBit)), EventHandling::handled);
    EXPECT_THAT(calls, ElementsAre("command-K down", "command-K up"));
}

TEST_F(MenuShortcutRelease, AReleaseWhosePressTheMenuGotStaysWithTheMenu) {
    bind("command-K", Shortcut(Key::k, ModifierFlags::command));
    bed.menuTracking.open();

    // K pressed alone went to the menu; Command held down before K comes up does not make it a shortcut.
    EXPECT_EQ(type(down(kKey, 0)), EventHandling::notHandled);
    EXPECT_EQ(type(up(kKey, commandBit)), EventHandling::notHandled);
    // A release without any press seen.
    EXPECT_EQ(type(up(kKey, commandBit)), EventHandling::notHandled);
    EXPECT_EQ(type(down(jKey, commandBit)), EventHandling::notHandled);
    EXPECT_EQ(type(up(jKey, commandBit)), EventHandling::notHandled);
    EXPECT_THAT(calls, IsEmpty());
}

TEST_F(MenuShortcutRelease, EachReleaseIsDeliveredOnce) {
    bind("command-K", Shortcut(Key::k, ModifierFlags::command));
    bed.menuTracking.open();

    type(down(kKey, commandBit));
    type(up(kKey, commandBit));
    EXPECT_EQ(type(up(kKey, commandBit)), EventHandling::notHandled);
    EXPECT_THAT(calls, ElementsAre("command-K down", "command-K up"));
}

TEST_F(MenuShortcutRelease, AKeyPressedBeforeTheMenuOpenedIsReleasedInTheMenu) {
    bind("command-K", Shortcut(Key::k, ModifierFlags::command));
    EXPECT_TRUE(bed.hotKeys.press(kKey, commandBit));
    bed.menuTracking.open();

    EXPECT_EQ(type(up(kKey, 0)), EventHandling::handled);
    EXPECT_THAT(calls, ElementsAre("command-K down", "command-K up"));
}

TEST_F(MenuShortcutRelease, AKeyPressedInTheMenuIsReleasedAfterItClosed) {
    bind("command-K", Shortcut(Key::k, ModifierFlags::command));
    bed.menuTracking.open();
    type(down(kKey, commandBit));
    bed.menuTracking.close();

    EXPECT_TRUE(bed.hotKeys.release(kKey, commandBit));
    EXPECT_THAT(calls, ElementsAre("command-K down", "command-K up"));
    // The press was released: a later release in another menu has nothing to release.
    bed.menuTracking.open();
    EXPECT_EQ(type(up(kKey, commandBit)), EventHandling::notHandled);
    EXPECT_EQ(calls.size(), 2U);
}

TEST_F(MenuShortcutRelease, AReleaseAfterItsShortcutWasRemovedIsStillTakenButRunsNothing) {
    bind("command-K", Shortcut(Key::k, ModifierFlags::command));
    bed.menuTracking.open();
    type(down(kKey, commandBit));
    bed.module.disable({bed.module.makeName("command-K")});

    EXPECT_EQ(type(up(kKey, 0)), EventHandling::handled);
    EXPECT_THAT(calls, ElementsAre("command-K down"));
}

// The application-wide shortcut copies the first entry when it is released, also in an open menu when
// Control and Shift come up before U.
TEST(MenuShortcutReleaseOfTheFirstEntry, ControlShiftUCopiesWhenTheModifiersAreLetGoFirst) {
    test::TemporaryDirectory directory;
    test::ManualClock clock;
    AppLogger logger{std::make_shared<LogFiles>(directory.path() / "log"), clock,
                     LogCalendar{"UTC", "en_US"}};
    test::KeyboardShortcutsTestbed bed;
    KeyboardShortcutsManager manager(bed.module, logger);
    int copies = 0;
    manager.copyTextAction = [&copies] { ++copies; };
    bed.menuTracking.open();

    EXPECT_EQ(bed.hotKeys.typeInMenu(down(uKey, controlBit | shiftBit)), EventHandling::handled);
    EXPECT_EQ(copies, 0);
    EXPECT_EQ(bed.hotKeys.typeInMenu(up(uKey, 0)), EventHandling::handled);
    EXPECT_EQ(copies, 1);
}

} // namespace
} // namespace driftmark
