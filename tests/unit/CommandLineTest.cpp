#include "app/CommandLine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>

namespace driftmark {
namespace {

using Command = CommandLine::Command;
using testing::HasSubstr;

const std::string id = "0f1e2d3c-4b5a-6978-8796-a5b4c3d2e1f0";

CommandLine::Options options(const std::vector<std::string>& arguments) {
    const auto parsed = CommandLine::parse(arguments);
    EXPECT_FALSE(parsed.error) << *parsed.error;
    return parsed.options;
}

std::string error(const std::vector<std::string>& arguments) {
    const auto parsed = CommandLine::parse(arguments);
    EXPECT_TRUE(parsed.error) << "accepted";
    return parsed.error.value_or("");
}

TEST(CommandLineTest, NoArgumentsStart) {
    const auto started = options({});
    EXPECT_EQ(started.command, Command::start);
    EXPECT_FALSE(started.tray);
    EXPECT_FALSE(CommandLine::remoteRequest(Command::start));
}

TEST(CommandLineTest, CopyAndPasteTakeAPositionOrAnIdAsTheNextArgumentOrAfterAnEqualsSign) {
    const auto copy = options({"--copy", "10"});
    EXPECT_EQ(copy.command, Command::copy);
    EXPECT_EQ(copy.entry, "10");
    const auto paste = options({"--paste=" + id});
    EXPECT_EQ(paste.command, Command::paste);
    EXPECT_EQ(paste.entry, id);
    EXPECT_EQ(CommandLine::remoteRequest(Command::copy), RemoteRequest::copy);
    EXPECT_EQ(CommandLine::remoteRequest(Command::paste), RemoteRequest::paste);
}

TEST(CommandLineTest, EachOtherCommandStandsAlone) {
    const std::vector<std::pair<std::string, Command>> cases{{"--list", Command::list},
                                                             {"--settings", Command::settings},
                                                             {"--quit", Command::quit},
                                                             {"--help", Command::help},
                                                             {"--version", Command::version}};
    for (const auto& [argument, command] : cases) {
        SCOPED_TRACE(argument);
        EXPECT_EQ(options({argument}).command, command);
        EXPECT_EQ(CommandLine::remoteRequest(command).has_value(),
                  command != Command::help && command != Command::version);
    }
}

TEST(CommandLineTest, TrayTakesOneOfTheTwoBackendsAndOnlyWhenStarting) {
    EXPECT_EQ(options({"--tray", "sni"}).tray, "sni");
    EXPECT_EQ(options({"--tray=xembed"}).tray, "xembed");
    EXPECT_EQ(error({"--tray", "gtk"}), "--tray needs a backend: xembed or sni, not 'gtk'");
    EXPECT_EQ(error({"--tray"}), "--tray needs a backend: xembed or sni");
    EXPECT_EQ(error({"--tray", "sni", "--tray", "sni"}), "--tray is given twice");
    EXPECT_EQ(error({"--tray", "sni", "--list"}),
              "--tray goes only with starting Driftmark, not with --list");
}

TEST(CommandLineTest, DisplayServerTakesX11OrWaylandAlongsideTheTray) {
    const auto both = options({"--display-server=wayland", "--tray", "sni"});
    EXPECT_EQ(both.displayServer, "wayland");
    EXPECT_EQ(both.tray, "sni");
    EXPECT_EQ(options({"--display-server", "x11"}).displayServer, "x11");
    EXPECT_FALSE(options({"--tray", "sni"}).displayServer);
    EXPECT_EQ(error({"--display-server", "xcb"}),
              "--display-server needs a display server: x11 or wayland, not 'xcb'");
    EXPECT_EQ(error({"--display-server", "x11", "--display-server", "wayland"}),
              "--display-server is given twice");
    EXPECT_EQ(error({"--display-server", "x11", "--quit"}),
              "--display-server goes only with starting Driftmark, not with --quit");
}

TEST(CommandLineTest, EntriesThatCanNeverExistAreRefusedBeforeAnythingIsAsked) {
    EXPECT_EQ(error({"--copy"}), "--copy needs an entry: its position, 1 to 10, or its id");
    EXPECT_EQ(error({"--paste", "--list"}), "--paste needs an entry: its position, 1 to 10, or its id");
    for (const std::string entry : {"0", "11", "-1", "+1", " 1", "one", "", "0F1E2D3C"}) {
        SCOPED_TRACE(entry);
        EXPECT_EQ(error({"--copy", entry}),
                  "'" + entry + "' is not an entry: give its position, 1 to 10, or its id");
    }
}

TEST(CommandLineTest, UnknownOrSurplusArgumentsAndTwoCommandsAreUsageErrors) {
    EXPECT_EQ(error({"--frobnicate"}), "unknown option '--frobnicate'");
    EXPECT_EQ(error({"-platform"}), "unknown option '-platform'");
    EXPECT_EQ(error({"--copy", "1", "2"}), "unexpected argument '2'");
    EXPECT_EQ(error({"--list=all"}), "--list takes no value");
    EXPECT_EQ(error({"--list", "--quit"}), "--list and --quit cannot be used together");
    EXPECT_EQ(error({"--copy", "1", "--copy", "2"}), "--copy is given twice");
    EXPECT_EQ(CommandLine::usageHint(), "Try 'driftmark-menubar --help' for more information.");
}

TEST(CommandLineTest, HelpNamesEveryOptionTheListColumnsAndTheExitStatuses) {
    const std::string help = CommandLine::help();
    for (const char* option : {"--tray BACKEND", "--display-server SERVER", "--copy ENTRY", "--paste ENTRY",
                               "--list", "--settings", "--quit", "--help", "--version"}) {
        EXPECT_THAT(help, HasSubstr(option));
    }
    EXPECT_THAT(help, HasSubstr("position, id, title, shortcut"));
    EXPECT_THAT(help, HasSubstr("3 no running Driftmark could be reached"));
}

TEST(CommandLineTest, AnAnswerPrintsTheListingOrOneLineWhyAndGivesTheExitStatus) {
    std::ostringstream output;
    std::ostringstream errors;
    const RemoteAnswer listed{RemoteAnswer::Outcome::done, {}, {ListedEntry{"id", "Title", 1, "⌃⌥K"}}};
    EXPECT_EQ(CommandLine::report(listed, output, errors), 0);
    EXPECT_EQ(output.str(), "1\tid\tTitle\t⌃⌥K\n");
    EXPECT_EQ(errors.str(), "");

    output.str("");
    const RemoteAnswer refused{
        RemoteAnswer::Outcome::refused, "no entry at position 4; there are 3 entries", {}};
    EXPECT_EQ(CommandLine::report(refused, output, errors), CommandLine::exitRefused);
    EXPECT_EQ(errors.str(), "driftmark-menubar: no entry at position 4; there are 3 entries\n");
    EXPECT_EQ(output.str(), "");

    errors.str("");
    const RemoteAnswer unreached{RemoteAnswer::Outcome::notReached, "Driftmark is not running", {}};
    EXPECT_EQ(CommandLine::report(unreached, output, errors), CommandLine::exitNotReached);
    EXPECT_EQ(errors.str(), "driftmark-menubar: Driftmark is not running\n");
}

TEST(CommandLineTest, AListingLineHasFourTabSeparatedColumnsWhateverTheTitleHolds) {
    const ListedEntry entry{"0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0", "two\tcolumns\nand lines", 3, "⌃⌥K"};
    EXPECT_EQ(CommandLine::listingLine(entry),
              "3\t0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0\ttwo columns and lines\t⌃⌥K");
    EXPECT_EQ(CommandLine::listingLine(ListedEntry{"id", "Title", 10, ""}), "10\tid\tTitle\t");
}

} // namespace
} // namespace driftmark
