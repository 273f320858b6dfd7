#include "support/XdgAutostartEntry.h"

#include "fakes/TestEnvironment.h"
#include "fakes/TextFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace driftmark {
namespace {

using testing::HasSubstr;

// XDG_CONFIG_HOME inside a fresh directory while the test runs, then back to what it was.
class AutostartEntryTest : public testing::Test {
protected:
    AutostartEntryTest() {
        if (const char* previous = std::getenv("XDG_CONFIG_HOME")) {
            previous_ = previous;
        }
        ::setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
    }
    ~AutostartEntryTest() override {
        if (previous_) {
            ::setenv("XDG_CONFIG_HOME", previous_->c_str(), 1);
        } else {
            ::unsetenv("XDG_CONFIG_HOME");
        }
    }

    void writeEntry(const std::string& text) {
        std::filesystem::create_directories(entryFile.parent_path());
        std::ofstream(entryFile) << text;
    }

    std::string execLine() {
        const std::string text = test::readTextFile(entryFile);
        const auto start = text.find("\nExec=");
        if (start == std::string::npos) {
            return {};
        }
        return text.substr(start + 1, text.find('\n', start + 1) - start - 1);
    }

    test::TemporaryDirectory directory;
    std::filesystem::path configHome = directory.path() / "config";
    std::filesystem::path entryFile = configHome / "autostart" / "driftmark-menubar.desktop";

private:
    std::optional<std::string> previous_;
};

TEST_F(AutostartEntryTest, RegisteringWritesTheEntryAndCreatesTheDirectory) {
    XdgAutostartEntry entry("/usr/local/bin/driftmark-menubar");
    EXPECT_EQ(entry.file(), entryFile);
    EXPECT_FALSE(entry.isEnabled());

    EXPECT_EQ(entry.registerItem(), std::nullopt);
    EXPECT_EQ(test::readTextFile(entryFile), "[Desktop Entry]\n"
                                             "Type=Application\n"
                                             "Name=Driftmark\n"
                                             "Comment=Short texts in the system tray, one click from the "
                                             "clipboard\n"
                                             "Icon=app.driftmark.menubar\n"
                                             "Exec=/usr/local/bin/driftmark-menubar\n"
                                             "X-GNOME-Autostart-enabled=true\n");
    EXPECT_TRUE(entry.isEnabled());
    std::vector<std::string> names;
    for (const auto& file : std::filesystem::directory_iterator(entryFile.parent_path())) {
        names.push_back(file.path().filename().string());
    }
    EXPECT_EQ(names, std::vector<std::string>{"driftmark-menubar.desktop"});
}

TEST_F(AutostartEntryTest, TheRunningExecutableIsTheDefault) {
    const auto executable = std::filesystem::read_symlink("/proc/self/exe");
    ASSERT_EQ(executable.string().find_first_of(" \"$\\%"), std::string::npos);
    XdgAutostartEntry entry;
    EXPECT_EQ(entry.registerItem(), std::nullopt);
    EXPECT_EQ(execLine(), "Exec=" + executable.string());
}

TEST_F(AutostartEntryTest, PathsWithReservedCharactersAreQuoted) {
    const auto execFor = [this](const std::string& executable) {
        XdgAutostartEntry entry(executable);
        EXPECT_EQ(entry.registerItem(), std::nullopt);
        EXPECT_FALSE(std::filesystem::exists(entry.launcher()));
        return execLine();
    };
    EXPECT_EQ(execFor("/opt/My Apps/driftmark-menubar"), R"(Exec="/opt/My Apps/driftmark-menubar")");
    EXPECT_EQ(execFor("/opt/a;b*c?d#e=f(g)/driftmark-menubar"),
              R"(Exec="/opt/a;b*c?d#e=f(g)/driftmark-menubar")");
    EXPECT_EQ(execFor("/opt/a<b>c|d&e~/driftmark-menubar"), R"(Exec="/opt/a<b>c|d&e~/driftmark-menubar")");
    EXPECT_EQ(execFor("/opt/Ünïcødé/driftmark-menubar"), "Exec=/opt/Ünïcødé/driftmark-menubar");
}

// '%' (GLib), '\', quotes, '$', '`' and control characters (systemd) and bytes that are not UTF-8 (the
// entry format) keep the path off the Exec line: a launcher runs it.
TEST_F(AutostartEntryTest, PathsTheExecLineCannotStartGoThroughALauncher) {
    // Each path and the way the launcher's shell command quotes it.
    const std::vector<std::pair<std::string, std::string>> paths{
        {"/opt/100%/driftmark-menubar", "'/opt/100%/driftmark-menubar'"},
        {"/opt/back\\slash/driftmark-menubar", "'/opt/back\\slash/driftmark-menubar'"},
        {"/opt/a\"b/driftmark-menubar", "'/opt/a\"b/driftmark-menubar'"},
        {"/opt/it's/driftmark-menubar", "'/opt/it'\\''s/driftmark-menubar'"},
        {"/opt/$HOME/driftmark-menubar", "'/opt/$HOME/driftmark-menubar'"},
        {"/opt/a`b/driftmark-menubar", "'/opt/a`b/driftmark-menubar'"},
        {"/opt/tab\tnew\nline/driftmark-menubar", "'/opt/tab\tnew\nline/driftmark-menubar'"},
        {"/opt/caf\xe9/driftmark-menubar", "'/opt/caf\xe9/driftmark-menubar'"},
    };
    for (const auto& [path, quoted] : paths) {
        XdgAutostartEntry entry(path);
        EXPECT_EQ(entry.launcher(), configHome / "driftmark-menubar" / "start-at-login");
        ASSERT_EQ(entry.registerItem(), std::nullopt) << path;
        EXPECT_EQ(execLine(), "Exec=" + entry.launcher().string()) << path;
        EXPECT_TRUE(entry.isEnabled()) << path;
        EXPECT_EQ(std::filesystem::status(entry.launcher()).permissions(), std::filesystem::perms(0755));
        const std::string script = test::readTextFile(entry.launcher());
        EXPECT_TRUE(script.starts_with("#!/bin/sh\n")) << script;
        EXPECT_TRUE(script.ends_with("\nexec " + quoted + "\n")) << script;
    }
}

TEST_F(AutostartEntryTest, WithoutAFormThatStartsTheProgramNothingIsWritten) {
    const std::filesystem::path unusable = directory.path() / "config 100%";
    ::setenv("XDG_CONFIG_HOME", unusable.c_str(), 1);
    XdgAutostartEntry entry("/opt/100%/driftmark-menubar");
    const auto error = entry.registerItem();
    ASSERT_TRUE(error.has_value());
    EXPECT_THAT(*error, HasSubstr("login cannot start a program from a path that holds '%'"));
    EXPECT_THAT(*error, HasSubstr("/opt/100%/driftmark-menubar"));
    EXPECT_EQ(error->find('\n'), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(unusable));
    EXPECT_FALSE(entry.isEnabled());

    // The same folder serves a program whose path the Exec line can name.
    XdgAutostartEntry plain("/usr/bin/driftmark-menubar");
    EXPECT_EQ(plain.registerItem(), std::nullopt);
    EXPECT_THAT(test::readTextFile(unusable / "autostart" / "driftmark-menubar.desktop"),
                HasSubstr("\nExec=/usr/bin/driftmark-menubar\n"));
}

TEST_F(AutostartEntryTest, TheLauncherGoesWithTheEntryOrWhenNoLongerNeeded) {
    XdgAutostartEntry launched("/opt/100%/driftmark-menubar");
    ASSERT_EQ(launched.registerItem(), std::nullopt);
    ASSERT_TRUE(std::filesystem::exists(launched.launcher()));
    EXPECT_EQ(launched.unregisterItem(), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(launched.launcher()));
    EXPECT_FALSE(std::filesystem::exists(entryFile));

    ASSERT_EQ(launched.registerItem(), std::nullopt);
    XdgAutostartEntry plain("/usr/bin/driftmark-menubar");
    ASSERT_EQ(plain.registerItem(), std::nullopt);
    EXPECT_EQ(execLine(), "Exec=/usr/bin/driftmark-menubar");
    EXPECT_FALSE(std::filesystem::exists(launched.launcher()));
}

TEST_F(AutostartEntryTest, AnEntryWhoseLauncherIsGoneIsNotEnabled) {
    XdgAutostartEntry entry("/opt/100%/driftmark-menubar");
    ASSERT_EQ(entry.registerItem(), std::nullopt);
    std::filesystem::remove(entry.launcher());
    EXPECT_FALSE(entry.isEnabled());
    // Registering again puts it back.
    ASSERT_EQ(entry.registerItem(), std::nullopt);
    EXPECT_TRUE(entry.isEnabled());
}

TEST_F(AutostartEntryTest, AnEntrySwitchedOffInTheDesktopSettingsIsNotEnabled) {
    XdgAutostartEntry entry("/usr/bin/driftmark-menubar");
    writeEntry("[Desktop Entry]\nType=Application\nExec=/usr/bin/driftmark-menubar\nHidden=true\n");
    EXPECT_FALSE(entry.isEnabled());
    writeEntry("[Desktop Entry]\nExec=/usr/bin/driftmark-menubar\nX-GNOME-Autostart-enabled = false\n");
    EXPECT_FALSE(entry.isEnabled());
    writeEntry("[Desktop Entry]\nExec=/usr/bin/driftmark-menubar\nHidden=false\n"
               "X-GNOME-Autostart-enabled=true\n[Desktop Action other]\nHidden=true\n");
    EXPECT_TRUE(entry.isEnabled());

    // Registering again replaces a switched-off entry with a working one.
    writeEntry("[Desktop Entry]\nExec=/usr/bin/driftmark-menubar\nHidden=true\n");
    EXPECT_EQ(entry.registerItem(), std::nullopt);
    EXPECT_TRUE(entry.isEnabled());
}

TEST_F(AutostartEntryTest, UnregisteringRemovesTheEntryAndAMissingEntryIsNoFailure) {
    XdgAutostartEntry entry("/usr/bin/driftmark-menubar");
    EXPECT_EQ(entry.unregisterItem(), std::nullopt);
    ASSERT_EQ(entry.registerItem(), std::nullopt);
    EXPECT_EQ(entry.unregisterItem(), std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(entryFile));
    EXPECT_FALSE(entry.isEnabled());
}

TEST_F(AutostartEntryTest, FailuresCarryTheSystemsErrorText) {
    // A plain file where the configuration directory should be: nothing can be created below it.
    std::ofstream(configHome) << "in the way";
    XdgAutostartEntry blocked("/usr/bin/driftmark-menubar");
    const auto error = blocked.registerItem();
    ASSERT_TRUE(error.has_value());
    EXPECT_THAT(*error, HasSubstr(std::strerror(ENOTDIR)));
    EXPECT_THAT(*error, HasSubstr((configHome / "autostart").string()));
    EXPECT_FALSE(blocked.isEnabled());

    std::filesystem::remove(configHome);
    // A directory in the entry's place cannot be unlinked.
    std::filesystem::create_directories(entryFile);
    XdgAutostartEntry entry("/usr/bin/driftmark-menubar");
    const auto unregisterError = entry.unregisterItem();
    ASSERT_TRUE(unregisterError.has_value());
    EXPECT_THAT(*unregisterError, HasSubstr(std::strerror(EISDIR)));
}

} // namespace
} // namespace driftmark
