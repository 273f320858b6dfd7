#pragma once

#include <string>
#include <string_view>
#include <vector>

// The command line of a relaunch, taken from /proc; free of Qt so that it can be tested alone.
namespace driftmark {

// The program to start from the target of /proc/self/exe. An executable replaced on disk while we run (an
// upgrade) reads "<path> (deleted)"; the path then holds the new one, which is the one to start.
inline std::string relaunchProgram(std::string executableLink) {
    constexpr std::string_view deleted = " (deleted)";
    if (executableLink.ends_with(deleted)) {
        executableLink.resize(executableLink.size() - deleted.size());
    }
    return executableLink;
}

// The arguments after the program name in the contents of /proc/self/cmdline: each ends with a NUL, and
// empty arguments are kept.
inline std::vector<std::string> relaunchArguments(std::string_view commandLine) {
    std::vector<std::string> arguments;
    bool programName = true;
    while (!commandLine.empty()) {
        const auto end = commandLine.find('\0');
        const auto argument = commandLine.substr(0, end);
        if (!programName) {
            arguments.emplace_back(argument);
        }
        programName = false;
        if (end == std::string_view::npos) {
            break;
        }
        commandLine.remove_prefix(end + 1);
    }
    return arguments;
}

} // namespace driftmark
