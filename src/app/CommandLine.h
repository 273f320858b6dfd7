#pragma once

#include "platform/RemoteRequests.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace driftmark {

// The program's options. Without a command it starts (or hands over to the Driftmark already running);
// the control commands ask the running one to do something and never start one; help and version only
// print. Parsing needs nothing but the arguments, so that it runs before anything looks for a display.
class CommandLine {
public:
    enum class Command { start, copy, paste, list, settings, quit, help, version };

    struct Options {
        Command command = Command::start;
        // The entry that --copy or --paste names, as given; it is a valid position or id.
        std::string entry;
        // The tray backend asked for with --tray: "xembed" or "sni".
        std::optional<std::string> tray;
        // The display server asked for with --display-server: "x11" or "wayland".
        std::optional<std::string> displayServer;
    };

    struct Parsed {
        Options options;
        // Set when the arguments are wrong: one line saying what is wrong.
        std::optional<std::string> error;
    };

    static constexpr const char* programName = "driftmark-menubar";
    // Where a start hands the tray backend asked for with --tray to the platform layer.
    static constexpr const char* trayVariable = "DRIFTMARK_TRAY";
    // And the display server asked for with --display-server.
    static constexpr const char* displayServerVariable = "DRIFTMARK_DISPLAY_SERVER";

    // Exit statuses besides 0, which means done.
    static constexpr int exitRefused = 1;
    static constexpr int exitUsage = 2;
    static constexpr int exitNotReached = 3;

    // `arguments` are those after the program's name.
    static Parsed parse(const std::vector<std::string>& arguments);
    // The request the command makes of the running Driftmark; none for a start, help or version.
    static std::optional<RemoteRequest> remoteRequest(Command command);
    // Prints the running Driftmark's answer as the command line shows it (a listing on `output`, a
    // failure as one line on `errors`) and returns the exit status.
    static int report(const RemoteAnswer& answer, std::ostream& output, std::ostream& errors);
    // Position, id, title and shortcut, separated by tabs. A tab or line break in a title would break the
    // columns for a script reading them, so each control character there becomes a space.
    static std::string listingLine(const ListedEntry& entry);

    // What --help prints.
    static std::string help();
    // The line printed below a usage error.
    static std::string usageHint();
};

} // namespace driftmark
