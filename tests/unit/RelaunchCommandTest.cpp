#include "platform/linux/dbus/RelaunchCommand.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace driftmark {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using namespace std::string_literals;

TEST(RelaunchCommandTest, ProgramIsTheExecutablesPath) {
    EXPECT_EQ(relaunchProgram("/usr/bin/driftmark-menubar"), "/usr/bin/driftmark-menubar");
}

TEST(RelaunchCommandTest, ExecutableReplacedOnDiskStartsTheNewOne) {
    EXPECT_EQ(relaunchProgram("/usr/bin/driftmark-menubar (deleted)"), "/usr/bin/driftmark-menubar");
}

TEST(RelaunchCommandTest, ArgumentsFollowTheProgramName) {
    EXPECT_THAT(relaunchArguments("driftmark-menubar\0-platform\0xcb\0"s), ElementsAre("-platform", "xcb"));
}

TEST(RelaunchCommandTest, EmptyAndSpacedArgumentsSurvive) {
    EXPECT_THAT(relaunchArguments("prog\0\0a b\0"s), ElementsAre("", "a b"));
}

TEST(RelaunchCommandTest, ProgramAloneHasNoArguments) {
    EXPECT_THAT(relaunchArguments("driftmark-menubar\0"s), IsEmpty());
    EXPECT_THAT(relaunchArguments(""), IsEmpty());
}

TEST(RelaunchCommandTest, MissingFinalTerminatorKeepsTheLastArgument) {
    EXPECT_THAT(relaunchArguments("prog\0last"s), ElementsAre("last"));
}

} // namespace
} // namespace driftmark
