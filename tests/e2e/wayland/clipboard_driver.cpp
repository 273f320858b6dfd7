// Driftmark's Wayland clipboard and its peers for the end-to-end tests, in one of two modes:
//
//   driftmark_e2e_wayland_clipboard driver [--primary]
//       Runs Driftmark's data-control clipboard (or primary selection) on its own Wayland connection and
//       takes one command a line on standard input, each answered by one line on standard output:
//         set-string TEXT      setString            → ok
//         set-data TYPE FILE   setData, the file's bytes under the type → ok
//         clear                clearContents        → ok
//         string               string()             → "string TEXT", or "absent"
//         read DIR             read(); a read that does not end at once answers "reading". Its completion
//                              prints "read listed=0|1 stopped=0|1 contents=TYPE,... unanswered=TYPE,..."
//                              and leaves each content's bytes in DIR/0, DIR/1, ... in that order
//         stop                 stopReading (after the completion's line, if a read was in progress) → ok
//         ping                 → pong: the event loop is free while a read waits
//       A lost connection to the compositor is reported on a line of its own: "lost: MESSAGE".
//   driftmark_e2e_wayland_clipboard owner TYPE[=TEXT]...
//       Another program owning the clipboard through data control, offering the TYPEs: one given with a
//       text is answered with the text, one given alone never is (its pipe stays open, as with a program
//       that hangs). Prints "ready" once it is the selection, "answered TYPE" for each answer it has
//       written in full, and ends when it is no longer the selection.
#include "StandardInputLines.h"
#include "platform/linux/wayland/DataControlClipboard.h"
#include "platform/linux/wayland/WaylandConnection.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>
#include <wayland-client.h>

namespace {

using driftmark::Bytes;
using driftmark::ClipboardReading;

std::string joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : ",") + part;
    }
    return text;
}

void answer(const std::string& line) {
    std::cout << line << std::endl;
}

void report(const ClipboardReading& reading, const std::string& directory) {
    std::vector<std::string> types;
    for (std::size_t index = 0; index < reading.contents.size(); ++index) {
        const auto& [type, bytes] = reading.contents[index];
        types.push_back(type);
        std::ofstream(directory + "/" + std::to_string(index), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    answer("read listed=" + std::to_string(reading.listed) + " stopped=" + std::to_string(reading.stopped) +
           " contents=" + joined(types) + " unanswered=" + joined(reading.unanswered));
}

void execute(driftmark::Clipboard& clipboard, const std::string& line) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    const std::string rest = line.size() > command.size() ? line.substr(command.size() + 1) : std::string();
    if (command == "set-string") {
        clipboard.setString(rest);
        answer("ok");
    } else if (command == "set-data") {
        std::string type;
        std::string path;
        words >> type >> path;
        std::ifstream file(path, std::ios::binary);
        clipboard.setData(Bytes(std::istreambuf_iterator<char>(file), {}), type);
        answer("ok");
    } else if (command == "clear") {
        clipboard.clearContents();
        answer("ok");
    } else if (command == "string") {
        const auto text = clipboard.string();
        answer(text ? "string " + *text : "absent");
    } else if (command == "read") {
        auto finished = std::make_shared<bool>(false);
        clipboard.read([finished, directory = rest](ClipboardReading reading) {
            *finished = true;
            report(reading, directory);
        });
        if (!*finished) {
            answer("reading");
        }
    } else if (command == "stop") {
        clipboard.stopReading();
        answer("ok");
    } else if (command == "ping") {
        answer("pong");
    } else if (command == "quit") {
        QCoreApplication::quit();
    } else {
        answer("unknown command: " + command);
    }
}

int drive(bool primary) {
    auto connection =
        driftmark::WaylandConnection::open([](const std::string& problem) { answer("lost: " + problem); });
    if (!connection || connection->dataControlVersion() < (primary ? 2U : 1U)) {
        std::cerr << "no compositor with data control\n";
        return 1;
    }
    driftmark::DataControlClipboard clipboard(*connection, primary
                                                               ? driftmark::DataControlSelection::primary
                                                               : driftmark::DataControlSelection::clipboard);
    const StandardInputLines input([&clipboard](const std::string& line) { execute(clipboard, line); });
    return QCoreApplication::exec();
}

// --- The owner, on the protocol directly -----------------------------------------------------------

struct Owner {
    std::map<std::string, std::string> answers;
    std::vector<int> unanswered;
    bool cancelled = false;
    wl_seat* seat = nullptr;
    zwlr_data_control_manager_v1* manager = nullptr;
};

void global(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t) {
    auto* owner = static_cast<Owner*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && owner->seat == nullptr) {
        owner->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0) {
        owner->manager = static_cast<zwlr_data_control_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_data_control_manager_v1_interface, 1));
    }
}

void globalRemoved(void*, wl_registry*, std::uint32_t) {}

void send(void* data, zwlr_data_control_source_v1*, const char* type, std::int32_t fd) {
    auto* owner = static_cast<Owner*>(data);
    const auto found = owner->answers.find(type);
    if (found == owner->answers.end()) {
        owner->unanswered.push_back(fd);
        return;
    }
    const std::string& text = found->second;
    for (std::size_t written = 0; written < text.size();) {
        const ssize_t count = ::write(fd, text.data() + written, text.size() - written);
        if (count <= 0) {
            break;
        }
        written += static_cast<std::size_t>(count);
    }
    ::close(fd);
    answer("answered " + found->first);
}

void cancel(void* data, zwlr_data_control_source_v1*) {
    static_cast<Owner*>(data)->cancelled = true;
}

int own(const std::vector<std::string>& offers) {
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::cerr << "no compositor\n";
        return 1;
    }
    Owner owner;
    static const wl_registry_listener registryListener = {.global = global, .global_remove = globalRemoved};
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &owner);
    wl_display_roundtrip(display);
    if (owner.seat == nullptr || owner.manager == nullptr) {
        std::cerr << "no compositor with data control\n";
        return 1;
    }
    static const zwlr_data_control_source_v1_listener sourceListener = {.send = send, .cancelled = cancel};
    zwlr_data_control_source_v1* source = zwlr_data_control_manager_v1_create_data_source(owner.manager);
    zwlr_data_control_source_v1_add_listener(source, &sourceListener, &owner);
    for (const std::string& offer : offers) {
        const auto equals = offer.find('=');
        const std::string type = offer.substr(0, equals);
        if (equals != std::string::npos) {
            owner.answers[type] = offer.substr(equals + 1);
        }
        zwlr_data_control_source_v1_offer(source, type.c_str());
    }
    zwlr_data_control_device_v1* device =
        zwlr_data_control_manager_v1_get_data_device(owner.manager, owner.seat);
    zwlr_data_control_device_v1_set_selection(device, source);
    wl_display_roundtrip(display);
    answer("ready");
    while (!owner.cancelled && wl_display_dispatch(display) >= 0) {
    }
    wl_display_disconnect(display);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!arguments.empty() && arguments.front() == "owner") {
        return own(std::vector<std::string>(arguments.begin() + 1, arguments.end()));
    }
    if (!arguments.empty() && arguments.front() == "driver") {
        QCoreApplication application(argc, argv);
        return drive(arguments.size() > 1 && arguments[1] == "--primary");
    }
    std::cerr << "usage: " << argv[0] << " driver [--primary] | owner TYPE[=TEXT]...\n";
    return 2;
}
