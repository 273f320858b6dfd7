#include "app/CommandLine.h"

#include "app/EntryReference.h"
#include "model/MenuItemManager.h"

#include <algorithm>
#include <array>
#include <ostream>
#include <string_view>

namespace driftmark {

namespace {

struct Option {
    std::string_view name;
    CommandLine::Command command;
    bool takesEntry;
};

// --tray and --display-server are not among them: they go with starting rather than being commands.
constexpr std::array<Option, 7> commands{{
    {"--copy", CommandLine::Command::copy, true},
    {"--paste", CommandLine::Command::paste, true},
    {"--list", CommandLine::Command::list, false},
    {"--settings", CommandLine::Command::settings, false},
    {"--quit", CommandLine::Command::quit, false},
    {"--help", CommandLine::Command::help, false},
    {"--version", CommandLine::Command::version, false},
}};

// An option of the start, naming one of two choices.
struct StartOption {
    std::string_view name;
    std::string_view needs; // what the value names, for the error
    std::array<std::string_view, 2> choices;
    std::optional<std::string> CommandLine::Options::*value;
};

constexpr std::array<StartOption, 2> startOptions{{
    {"--tray", "a backend", {"xembed", "sni"}, &CommandLine::Options::tray},
    {"--display-server", "a display server", {"x11", "wayland"}, &CommandLine::Options::displayServer},
}};

} // namespace

CommandLine::Parsed CommandLine::parse(const std::vector<std::string>& arguments) {
    Parsed parsed;
    auto failed = [&parsed](std::string error) {
        parsed.error = std::move(error);
        return parsed;
    };
    std::string_view commandName;
    std::string startOptionName;
    for (std::size_t index = 0; index < arguments.size(); ++index) {
        const std::string_view argument = arguments[index];
        // "--copy=3" as well as "--copy 3".
        const auto equals = argument.starts_with("--") ? argument.find('=') : std::string_view::npos;
        const std::string_view name = argument.substr(0, equals);
        std::optional<std::string> value;
        if (equals != std::string_view::npos) {
            value = std::string(argument.substr(equals + 1));
        }

        const auto command = std::find_if(commands.begin(), commands.end(),
                                          [name](const Option& option) { return option.name == name; });
        const auto startOption =
            std::find_if(startOptions.begin(), startOptions.end(),
                         [name](const StartOption& option) { return option.name == name; });
        const bool isStartOption = startOption != startOptions.end();
        if (command == commands.end() && !isStartOption) {
            return failed(argument.starts_with("-") ? "unknown option '" + std::string(argument) + "'"
                                                    : "unexpected argument '" + std::string(argument) + "'");
        }
        const bool takesValue = isStartOption || command->takesEntry;
        if (!takesValue && value) {
            return failed(std::string(name) + " takes no value");
        }
        // The next argument is the value unless it is an option itself: "--copy --list" lacks an entry.
        if (takesValue && !value && index + 1 < arguments.size() && !arguments[index + 1].starts_with("--")) {
            value = arguments[++index];
        }

        if (isStartOption) {
            const std::string optionName(startOption->name);
            std::optional<std::string>& chosen = parsed.options.*startOption->value;
            if (chosen) {
                return failed(optionName + " is given twice");
            }
            const auto& choices = startOption->choices;
            if (!value || std::find(choices.begin(), choices.end(), *value) == choices.end()) {
                return failed(optionName + " needs " + std::string(startOption->needs) + ": " +
                              std::string(choices[0]) + " or " + std::string(choices[1]) +
                              (value ? ", not '" + *value + "'" : std::string()));
            }
            chosen = std::move(value);
            startOptionName = optionName;
            continue;
        }

        if (!commandName.empty()) {
            return failed(commandName == name ? std::string(name) + " is given twice"
                                              : std::string(commandName) + " and " + std::string(name) +
                                                    " cannot be used together");
        }
        commandName = command->name;
        parsed.options.command = command->command;
        if (command->takesEntry) {
            if (!value) {
                return failed(std::string(name) + " needs an entry: its position, 1 to " +
                              std::to_string(MenuItemManager::maxItems) + ", or its id");
            }
            if (!EntryReference::parse(*value)) {
                return failed(EntryReference::invalid(*value));
            }
            parsed.options.entry = std::move(*value);
        }
    }
    if (!startOptionName.empty() && parsed.options.command != Command::start) {
        return failed(startOptionName + " goes only with starting Driftmark, not with " +
                      std::string(commandName));
    }
    return parsed;
}

std::optional<RemoteRequest> CommandLine::remoteRequest(Command command) {
    switch (command) {
    case Command::copy:
        return RemoteRequest::copy;
    case Command::paste:
        return RemoteRequest::paste;
    case Command::list:
        return RemoteRequest::list;
    case Command::settings:
        return RemoteRequest::openSettings;
    case Command::quit:
        return RemoteRequest::quit;
    case Command::start:
    case Command::help:
    case Command::version:
        break;
    }
    return std::nullopt;
}

int CommandLine::report(const RemoteAnswer& answer, std::ostream& output, std::ostream& errors) {
    if (answer.outcome == RemoteAnswer::Outcome::done) {
        for (const ListedEntry& entry : answer.entries) {
            output << listingLine(entry) << '\n';
        }
        output.flush();
        return 0;
    }
    errors << programName << ": " << answer.message << std::endl;
    return answer.outcome == RemoteAnswer::Outcome::refused ? exitRefused : exitNotReached;
}

std::string CommandLine::listingLine(const ListedEntry& entry) {
    const auto oneColumn = [](std::string text) {
        std::replace_if(
            text.begin(), text.end(),
            [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, ' ');
        return text;
    };
    return std::to_string(entry.position) + '\t' + entry.id + '\t' + oneColumn(entry.title) + '\t' +
           oneColumn(entry.shortcut);
}

std::string CommandLine::help() {
    return R"(Usage: driftmark-menubar [--tray BACKEND] [--display-server SERVER]
       driftmark-menubar --copy ENTRY | --paste ENTRY | --list | --settings | --quit
       driftmark-menubar --help | --version

Without a command, starts Driftmark, or opens the settings window of the Driftmark already running.

  --tray BACKEND   show the icons through BACKEND: xembed (the X11 system tray) or sni
                   (StatusNotifierItem)
  --display-server SERVER
                   run on SERVER: x11 (also XWayland in a Wayland session) or wayland; by
                   default Wayland where its compositor lets Driftmark control the clipboard

Commands to the running Driftmark, over the session bus; none of them starts one:
  --copy ENTRY     copy the entry's text to the clipboard
  --paste ENTRY    Smart Paste the entry into the frontmost window
  --list           print the entries, one line each, with four tab-separated columns:
                   position, id, title, shortcut (empty when the entry has none)
  --settings       open the settings window
  --quit           quit Driftmark

  --help           print this text
  --version        print the version

ENTRY is the entry's position, 1 to 10 as in --list, or its id (case does not matter).

Exit status: 0 done; 1 the running Driftmark refused the request (no such entry) or failed to answer;
2 wrong options; 3 no running Driftmark could be reached (none runs, or there is no session bus).
)";
}

std::string CommandLine::usageHint() {
    return std::string("Try '") + programName + " --help' for more information.";
}

} // namespace driftmark
