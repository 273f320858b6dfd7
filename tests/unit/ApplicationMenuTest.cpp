#include "app/ApplicationMenu.h"

#include <gtest/gtest.h>

namespace driftmark {
namespace {

using KeyboardShortcuts::ModifierFlags;

TEST(ApplicationMenu, HoldsTheStatusItemMenuEntriesWithKeyEquivalentsUnderControl) {
    const KeyboardShortcuts::Menu menu = applicationMenu();
    ASSERT_EQ(menu.items.size(), 2U);
    EXPECT_EQ(menu.items[0].title, "Settings");
    EXPECT_EQ(menu.items[0].keyEquivalent, ",");
    EXPECT_EQ(menu.items[1].title, "Quit");
    EXPECT_EQ(menu.items[1].keyEquivalent, "q");
    for (const auto& item : menu.items) {
        EXPECT_EQ(item.keyEquivalentModifierMask, ModifierFlags::control);
        EXPECT_FALSE(item.submenu);
    }
}

} // namespace
} // namespace driftmark
