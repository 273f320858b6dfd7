#include "platform/linux/sni/RegistrationPlan.h"

#include <gtest/gtest.h>
#include <string>

namespace driftmark {
namespace {

using Items = std::vector<std::string>;

TEST(RegistrationPlanTest, AFreshWatcherGetsEveryItemInOrder) {
    const auto plan = planRegistrations<std::string>({}, {"a", "b", "c"});
    EXPECT_FALSE(plan.reregisterAll);
    EXPECT_EQ(plan.toRegister, (Items{"a", "b", "c"}));
}

TEST(RegistrationPlanTest, NothingToDoWhenTheOrderStands) {
    const auto plan = planRegistrations<std::string>({"a", "b"}, {"a", "b"});
    EXPECT_FALSE(plan.reregisterAll);
    EXPECT_TRUE(plan.toRegister.empty());
}

TEST(RegistrationPlanTest, ItemsAddedAtTheEndAreRegisteredAfterTheOthers) {
    const auto plan = planRegistrations<std::string>({"a", "b"}, {"a", "b", "c", "d"});
    EXPECT_FALSE(plan.reregisterAll);
    EXPECT_EQ(plan.toRegister, (Items{"c", "d"}));
}

TEST(RegistrationPlanTest, ARemovedItemLeavesTheOthersWhereTheyAre) {
    const auto plan = planRegistrations<std::string>({"a", "b", "c"}, {"a", "c"});
    EXPECT_FALSE(plan.reregisterAll);
    EXPECT_TRUE(plan.toRegister.empty());
}

TEST(RegistrationPlanTest, ANewOrderRegistersEverythingAgain) {
    const auto plan = planRegistrations<std::string>({"a", "b", "c"}, {"b", "a", "c"});
    EXPECT_TRUE(plan.reregisterAll);
    EXPECT_EQ(plan.toRegister, (Items{"b", "a", "c"}));
}

TEST(RegistrationPlanTest, AnItemAddedBeforeRegisteredOnesRegistersEverythingAgain) {
    const auto plan = planRegistrations<std::string>({"b", "c"}, {"a", "b", "c"});
    EXPECT_TRUE(plan.reregisterAll);
    EXPECT_EQ(plan.toRegister, (Items{"a", "b", "c"}));
}

TEST(RegistrationPlanTest, RemovalAndAdditionTogether) {
    const auto plan = planRegistrations<std::string>({"a", "b", "c"}, {"a", "c", "d"});
    EXPECT_FALSE(plan.reregisterAll);
    EXPECT_EQ(plan.toRegister, (Items{"d"}));
}

} // namespace
} // namespace driftmark
