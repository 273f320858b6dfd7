// Other programs around the clipboard, for the end-to-end tests, in one of two modes:
//
//   driftmark_e2e_clipboard_peer owner TYPE[=TEXT]...
//       Owns the clipboard and lists TYPEs as its targets. A type given with a text is answered with
//       the text's bytes; a type given alone is never answered: its requests are ignored, as by a
//       program that hangs. With the single TYPE "--silent" not even the list of targets is answered.
//       Prints "ready" once it owns the clipboard and ends when it loses it.
//   driftmark_e2e_clipboard_peer manager
//       A clipboard manager: owns CLIPBOARD_MANAGER, and when a program asks it to SAVE_TARGETS, reads
//       every target of the clipboard from that program, takes the clipboard over and serves what it
//       read from then on. Prints "ready", then "saved TARGET..." for each hand-over it completes.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <poll.h>
#include <string>
#include <vector>
#include <xcb/xcb.h>

namespace {

struct Free {
    void operator()(void* pointer) const { std::free(pointer); }
};
template <typename T>
using Owned = std::unique_ptr<T, Free>;

xcb_connection_t* connection = nullptr;
xcb_window_t window = XCB_NONE;

xcb_atom_t atom(const std::string& name) {
    const Owned<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.data()),
        nullptr));
    return reply ? reply->atom : XCB_NONE;
}

std::string atomName(xcb_atom_t atom) {
    const Owned<xcb_get_atom_name_reply_t> reply(
        xcb_get_atom_name_reply(connection, xcb_get_atom_name(connection, atom), nullptr));
    if (!reply) {
        return {};
    }
    return std::string(xcb_get_atom_name_name(reply.get()),
                       static_cast<std::size_t>(xcb_get_atom_name_name_length(reply.get())));
}

bool own(xcb_atom_t selection) {
    xcb_set_selection_owner(connection, window, selection, XCB_CURRENT_TIME);
    const Owned<xcb_get_selection_owner_reply_t> reply(
        xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection), nullptr));
    return reply && reply->owner == window;
}

void notify(const xcb_selection_request_event_t& request, xcb_atom_t property) {
    xcb_selection_notify_event_t event{};
    event.response_type = XCB_SELECTION_NOTIFY;
    event.time = request.time;
    event.requestor = request.requestor;
    event.selection = request.selection;
    event.target = request.target;
    event.property = property;
    xcb_send_event(connection, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection);
}

// Where an obsolete requestor names no property, the target is the property.
xcb_atom_t propertyOf(const xcb_selection_request_event_t& request) {
    return request.property == XCB_NONE ? request.target : request.property;
}

void answerAtoms(const xcb_selection_request_event_t& request, const std::vector<xcb_atom_t>& atoms) {
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, request.requestor, propertyOf(request),
                        XCB_ATOM_ATOM, 32, static_cast<std::uint32_t>(atoms.size()), atoms.data());
    notify(request, propertyOf(request));
}

void answerBytes(const xcb_selection_request_event_t& request, xcb_atom_t type, std::uint8_t format,
                 const std::string& bytes) {
    const auto units = static_cast<std::uint32_t>(bytes.size() / (format / 8));
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, request.requestor, propertyOf(request), type,
                        format, units, bytes.data());
    notify(request, propertyOf(request));
}

// The next event, or none within the time.
Owned<xcb_generic_event_t> nextEvent(std::chrono::milliseconds timeout) {
    if (auto* event = xcb_poll_for_event(connection)) {
        return Owned<xcb_generic_event_t>(event);
    }
    pollfd descriptor{xcb_get_file_descriptor(connection), POLLIN, 0};
    if (poll(&descriptor, 1, static_cast<int>(timeout.count())) <= 0) {
        return nullptr;
    }
    return Owned<xcb_generic_event_t>(xcb_poll_for_event(connection));
}

int runOwner(int count, char** arguments) {
    const xcb_atom_t clipboard = atom("CLIPBOARD");
    const xcb_atom_t targets = atom("TARGETS");
    const bool silent = count == 1 && std::strcmp(arguments[0], "--silent") == 0;
    std::map<xcb_atom_t, std::optional<std::string>> offered;
    std::vector<xcb_atom_t> listed{targets};
    for (int index = silent ? count : 0; index < count; ++index) {
        const std::string argument = arguments[index];
        const auto equals = argument.find('=');
        const xcb_atom_t type = atom(argument.substr(0, equals));
        offered[type] =
            equals == std::string::npos ? std::nullopt : std::optional(argument.substr(equals + 1));
        listed.push_back(type);
    }
    if (!own(clipboard)) {
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    while (Owned<xcb_generic_event_t> event{xcb_wait_for_event(connection)}) {
        const int type = event->response_type & 0x7f;
        if (type == XCB_SELECTION_CLEAR) {
            return 0;
        }
        if (type != XCB_SELECTION_REQUEST) {
            continue;
        }
        const auto& request = *reinterpret_cast<xcb_selection_request_event_t*>(event.get());
        if (silent) {
            continue;
        }
        if (request.target == targets) {
            answerAtoms(request, listed);
            continue;
        }
        const auto found = offered.find(request.target);
        if (found == offered.end()) {
            notify(request, XCB_NONE);
        } else if (found->second) {
            answerBytes(request, request.target, 8, *found->second);
        }
        // Otherwise the request stays unanswered for good.
    }
    return 1;
}

struct Saved {
    xcb_atom_t type = XCB_NONE;
    std::uint8_t format = 8;
    std::string bytes;
};

// Converts the clipboard to a target into our property and waits for the answer.
std::optional<Saved> fetch(xcb_atom_t clipboard, xcb_atom_t target, xcb_atom_t property) {
    xcb_delete_property(connection, window, property);
    xcb_convert_selection(connection, window, clipboard, target, property, XCB_CURRENT_TIME);
    xcb_flush(connection);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (std::chrono::steady_clock::now() < deadline) {
        const auto event = nextEvent(std::chrono::milliseconds(100));
        if (!event || (event->response_type & 0x7f) != XCB_SELECTION_NOTIFY) {
            continue;
        }
        const auto& notified = *reinterpret_cast<xcb_selection_notify_event_t*>(event.get());
        if (notified.requestor != window || notified.target != target) {
            continue;
        }
        if (notified.property == XCB_NONE) {
            return std::nullopt;
        }
        const Owned<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            connection,
            xcb_get_property(connection, 1, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 24),
            nullptr));
        if (!reply || reply->type == atom("INCR")) {
            return std::nullopt;
        }
        return Saved{reply->type, reply->format,
                     std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                                 static_cast<std::size_t>(xcb_get_property_value_length(reply.get())))};
    }
    return std::nullopt;
}

int runManager() {
    const xcb_atom_t manager = atom("CLIPBOARD_MANAGER");
    const xcb_atom_t saveTargets = atom("SAVE_TARGETS");
    const xcb_atom_t clipboard = atom("CLIPBOARD");
    const xcb_atom_t targets = atom("TARGETS");
    const xcb_atom_t property = atom("_DRIFTMARK_E2E_MANAGER");
    const std::vector<std::string> skipped = {"TARGETS", "MULTIPLE", "TIMESTAMP", "SAVE_TARGETS", "DELETE"};
    if (!own(manager)) {
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    std::map<xcb_atom_t, Saved> saved;
    bool owning = false;
    while (Owned<xcb_generic_event_t> event{xcb_wait_for_event(connection)}) {
        const int type = event->response_type & 0x7f;
        if (type == XCB_SELECTION_CLEAR) {
            if (reinterpret_cast<xcb_selection_clear_event_t*>(event.get())->selection == clipboard) {
                owning = false;
            }
            continue;
        }
        if (type != XCB_SELECTION_REQUEST) {
            continue;
        }
        const auto request = *reinterpret_cast<xcb_selection_request_event_t*>(event.get());
        if (request.selection == manager) {
            if (request.target == targets) {
                answerAtoms(request, {targets, saveTargets});
                continue;
            }
            if (request.target != saveTargets) {
                notify(request, XCB_NONE);
                continue;
            }
            std::map<xcb_atom_t, Saved> read;
            std::string names;
            if (const auto listed = fetch(clipboard, targets, property); listed && listed->format == 32) {
                std::vector<xcb_atom_t> atoms(listed->bytes.size() / sizeof(xcb_atom_t));
                std::memcpy(atoms.data(), listed->bytes.data(), atoms.size() * sizeof(xcb_atom_t));
                for (const xcb_atom_t target : atoms) {
                    const std::string name = atomName(target);
                    if (std::find(skipped.begin(), skipped.end(), name) != skipped.end()) {
                        continue;
                    }
                    if (auto bytes = fetch(clipboard, target, property)) {
                        read[target] = std::move(*bytes);
                        names += " " + name;
                    }
                }
            }
            if (read.empty() || !own(clipboard)) {
                notify(request, XCB_NONE);
                continue;
            }
            saved = std::move(read);
            owning = true;
            notify(request, request.property);
            std::printf("saved%s\n", names.c_str());
            std::fflush(stdout);
            continue;
        }
        if (request.selection != clipboard || !owning) {
            notify(request, XCB_NONE);
            continue;
        }
        if (request.target == targets) {
            std::vector<xcb_atom_t> atoms{targets};
            for (const auto& entry : saved) {
                atoms.push_back(entry.first);
            }
            answerAtoms(request, atoms);
            continue;
        }
        const auto found = saved.find(request.target);
        if (found == saved.end()) {
            notify(request, XCB_NONE);
        } else {
            answerBytes(request, found->second.type, found->second.format, found->second.bytes);
        }
    }
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs("usage: driftmark_e2e_clipboard_peer owner TYPE[=TEXT]... | manager\n", stderr);
        return 2;
    }
    int screenNumber = 0;
    connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection) != 0) {
        return 1;
    }
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int skip = 0; skip < screenNumber && screens.rem > 0; ++skip) {
        xcb_screen_next(&screens);
    }
    window = xcb_generate_id(connection);
    const std::uint32_t eventMask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screens.data->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &eventMask);
    const std::string mode = argv[1];
    if (mode == "owner" && argc > 2) {
        return runOwner(argc - 2, argv + 2);
    }
    if (mode == "manager" && argc == 2) {
        return runManager();
    }
    std::fputs("usage: driftmark_e2e_clipboard_peer owner TYPE[=TEXT]... | manager\n", stderr);
    return 2;
}
