#include "platform/linux/dbus/InstanceEnvironment.h"

#include <gtest/gtest.h>

namespace driftmark {
namespace {

TEST(InstanceEnvironmentTest, ReplacedProcessIsAPlainPositivePid) {
    EXPECT_EQ(replacedProcess("4242", 100), 4242);
    EXPECT_EQ(replacedProcess("1", 100), 1);
    EXPECT_EQ(replacedProcess(nullptr, 100), std::nullopt);
    EXPECT_EQ(replacedProcess("", 100), std::nullopt);
    EXPECT_EQ(replacedProcess("0", 100), std::nullopt);
    EXPECT_EQ(replacedProcess("-5", 100), std::nullopt);
    EXPECT_EQ(replacedProcess("42x", 100), std::nullopt);
    EXPECT_EQ(replacedProcess(" 42", 100), std::nullopt);
    EXPECT_EQ(replacedProcess("99999999999", 100), std::nullopt);
}

TEST(InstanceEnvironmentTest, ProcessNeverReplacesItself) {
    EXPECT_EQ(replacedProcess("100", 100), std::nullopt);
}

TEST(InstanceEnvironmentTest, SessionBusNeedsAnAddress) {
    EXPECT_TRUE(sessionBusConfigured("unix:path=/run/user/1000/bus"));
    EXPECT_FALSE(sessionBusConfigured(nullptr));
    EXPECT_FALSE(sessionBusConfigured(""));
    EXPECT_FALSE(sessionBusConfigured("disabled:"));
}

TEST(InstanceEnvironmentTest, LockFileLivesInTheRuntimeDirectory) {
    EXPECT_EQ(lockFilePath("/run/user/1000", 1000), "/run/user/1000/driftmark-menubar.lock");
    EXPECT_EQ(lockFilePath("/run/user/1000/", 1000), "/run/user/1000/driftmark-menubar.lock");
}

TEST(InstanceEnvironmentTest, LockFileWithoutRuntimeDirectoryIsPerUserInTmp) {
    EXPECT_EQ(lockFilePath(nullptr, 1000), "/tmp/driftmark-menubar-1000.lock");
    EXPECT_EQ(lockFilePath("", 1001), "/tmp/driftmark-menubar-1001.lock");
    // A relative runtime directory would depend on where Driftmark was started from.
    EXPECT_EQ(lockFilePath("run/user", 1000), "/tmp/driftmark-menubar-1000.lock");
}

} // namespace
} // namespace driftmark
