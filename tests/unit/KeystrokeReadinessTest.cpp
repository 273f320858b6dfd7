#include "app/AppDelegate.h"
#include "fakes/AppHarness.h"

#include <gtest/gtest.h>

namespace driftmark {
namespace {

using test::makeItem;

// Typing gets ready as soon as an entry may need it, not at its first paste.
class KeystrokeReadinessTest : public testing::Test {
protected:
    void launch(const std::vector<MenuBarItem>& items) {
        harness = std::make_unique<test::AppHarness>(items);
        delegate = harness->launch();
    }
    int prepared() const { return harness->platform.keyEventPoster.prepared; }

    std::unique_ptr<test::AppHarness> harness;
    std::shared_ptr<AppDelegate> delegate;
};

TEST_F(KeystrokeReadinessTest, AStartWithASmartPasteEntryGetsTypingReady) {
    launch({makeItem("Plain", "a", false), makeItem("Smart", "b", true, 1)});

    EXPECT_GT(prepared(), 0);
}

TEST_F(KeystrokeReadinessTest, AStartWithoutSmartPasteLeavesTypingAlone) {
    launch({makeItem("Plain", "a", false), makeItem("Other", "b", false, 1)});

    EXPECT_EQ(prepared(), 0);
}

TEST_F(KeystrokeReadinessTest, AnEntrySwitchedToSmartPasteGetsTypingReady) {
    const MenuBarItem plain = makeItem("Plain", "a", false);
    launch({plain});
    ASSERT_EQ(prepared(), 0);

    MenuBarItem switched = harness->menuItemManager.items().front();
    switched.usesSmartPaste = true;
    harness->menuItemManager.updateItem(switched);

    EXPECT_GT(prepared(), 0);
}

TEST_F(KeystrokeReadinessTest, AnAddedSmartPasteEntryGetsTypingReady) {
    launch({makeItem("Plain", "a", false)});

    harness->menuItemManager.addItem(makeItem("Smart", "b", true, 1));

    EXPECT_GT(prepared(), 0);
}

} // namespace
} // namespace driftmark
