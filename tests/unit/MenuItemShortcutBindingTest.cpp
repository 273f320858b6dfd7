#include "KeyboardShortcuts/MenuItemShortcutBinding.h"

#include "fakes/FakeKeyEquivalentMenuItem.h"
#include "fakes/KeyboardShortcutsTestbed.h"

#include <gtest/gtest.h>

namespace driftmark::KeyboardShortcuts {
namespace {

const Shortcut shiftCommandK(Key::k, ModifierFlags::shift | ModifierFlags::command);

class MenuItemShortcutBindingTest : public testing::Test {
protected:
    test::KeyboardShortcutsTestbed bed;
    test::FakeKeyEquivalentMenuItem item;
    MenuItemShortcutBinding binding{bed.module, item};
    Name name = bed.module.makeName("x");
};

TEST_F(MenuItemShortcutBindingTest, ShowsTheNamesShortcutAndFollowsItOneTurnLater) {
    bed.module.setShortcut(shiftCommandK, name);
    binding.setShortcutFor(name);
    EXPECT_EQ(item.key, "k");
    EXPECT_EQ(item.modifierFlags, (ModifierFlags::shift | ModifierFlags::command).rawValue);

    bed.module.setShortcut(Shortcut(Key::f2, {}), name);
    EXPECT_EQ(item.key, "k");
    bed.mainQueue.runPending();
    EXPECT_EQ(item.key, "\uF705");
    EXPECT_EQ(item.modifierFlags, 0U);

    bed.module.setShortcut(std::nullopt, name);
    bed.mainQueue.runPending();
    EXPECT_EQ(item.key, "");
}

TEST_F(MenuItemShortcutBindingTest, OtherNamesAreIgnored) {
    binding.setShortcutFor(name);
    const int updates = item.updates;
    bed.module.setShortcut(shiftCommandK, bed.module.makeName("other"));
    bed.mainQueue.runPending();
    EXPECT_EQ(item.updates, updates);
}

TEST_F(MenuItemShortcutBindingTest, FollowingNothingStopsUpdatesEvenQueuedOnes) {
    binding.setShortcutFor(name);
    bed.module.setShortcut(shiftCommandK, name);
    binding.setShortcutFor(std::nullopt);
    EXPECT_EQ(item.key, "");
    bed.mainQueue.runPending();
    bed.module.setShortcut(Shortcut(Key::f2, {}), name);
    bed.mainQueue.runPending();
    EXPECT_EQ(item.key, "");
}

TEST_F(MenuItemShortcutBindingTest, KeypadKeysCannotBeShown) {
    binding.setShortcut(Shortcut(Key::keypad3, ModifierFlags::command));
    EXPECT_EQ(item.key, "");
    EXPECT_EQ(item.modifierFlags, ModifierFlags::command.rawValue);
}

TEST_F(MenuItemShortcutBindingTest, AGoneBindingIsNoLongerUpdated) {
    {
        test::FakeKeyEquivalentMenuItem shortLived;
        MenuItemShortcutBinding gone(bed.module, shortLived);
        gone.setShortcutFor(name);
        bed.module.setShortcut(shiftCommandK, name);
    }
    bed.mainQueue.runPending();
    bed.module.setShortcut(Shortcut(Key::f2, {}), name);
    EXPECT_EQ(bed.mainQueue.pendingCount(), 0U);
}

} // namespace
} // namespace driftmark::KeyboardShortcuts
