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

// --tray is not among them: it goes with starting rather than being a command of its own.
constexpr std::array<Option, 7> commands{{
    {"--copy", CommandLine::Command::copy, true},
    {"--paste", CommandLine::Command::paste, true},
    {"--list", CommandLine::Command::list, false},
    {"--settings", CommandLine::Command::settings, false},
    {"--quit", CommandLine::Command::quit, false},
    {"--help", CommandLine::Command::help, false},
    {"--version", CommandLine::Command::version, false},
}};

constexpr std::string_view trayOption = "--tray";
constexpr std::array<std::string_view, 2> trayBackends{"xembed", "sni"};

} // namespace

CommandLine::Parsed CommandLine::parse(const std::vector<std::string>& arguments) {
    Parsed parsed;
    auto failed = [&parsed](std::string error) {
        parsed.error = std::move(error);
        return parsed;
    };
    std::string_view commandName;
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
        const bool isTray = name == trayOption;
        if (command == commands.end() && !isTray) {
            return failed(argument.starts_with("-") ? "unknown option '" + std::string(argument) + "'"
                                                    : "unexpected argument '" + std::string(argument) + "'");
        }
        const bool takesValue = isTray || command->takesEntry;
        if (!takesValue && value) {
            return failed(std::string(name) + " takes no value");
        }
        // The next argument is the value unless it is an option itself: "--copy --list" lacks an entry.
        if (takesValue && !value && index + 1 < arguments.size() && !arguments[index + 1].starts_with("--")) {
            value = arguments[++index];
        }

        if (isTray) {
            if (parsed.options.tray) {
                return failed("--tray is given twice");
            }
            if (!value || std::find(trayBackends.begin(), trayBackends.end(), *value) == trayBackends.end()) {
                return failed("--tray needs a backend: xembed or sni" +
                              (value ? ", not '" + *value + "'" : std::string()));
            }
            parsed.options.tray = std::move(value);
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
    if (parsed.options.tray && parsed.options.command != Command::start) {
        return failed("--tray goes only with starting Driftmark, not with " + std::string(commandName));
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
    return R"(Usage: driftmark-menubar [--tray BACKEND]
       driftmark-menubar --copy ENTRY | --paste ENTRY | --list | --settings | --quit
       driftmark-menubar --help | --version

Without a command, starts Driftmark, or opens the settings window of the Driftmark already running.

  --tray BACKEND   show the icons through BACKEND: xembed (the X11 system tray) or sni
                   (StatusNotifierItem)

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
