// The StatusNotifierItem benchmark's stopwatch: it watches a StatusNotifierWatcher on the session bus
// ($DBUS_SESSION_BUS_ADDRESS) and the LXQt panel that shows the items on the display in $DISPLAY, and says
// when a given number of items is registered and shown. Built and run by bench/sni-benchmark.
//
//   sni_probe shown COUNT TIMEOUT_MS [RRGGBB]
//
// Prints "ready" once it watches both (so that the program can be started after it), then waits until
// the watcher's RegisteredStatusNotifierItems holds exactly COUNT items and, at the same time, the panel's
// window shows exactly COUNT discs of the colour RRGGBB (default 007aff). Then it prints
// "REGISTERED SHOWN ITEMS": the wall-clock times (microseconds since the epoch, like bash's
// EPOCHREALTIME) at which the watcher's list last reached COUNT items and at which the panel last came to
// show COUNT discs, and the items as the watcher names them, separated by commas.
//
// The watcher is followed by its StatusNotifierItemRegistered and ...Unregistered signals: each one is
// stamped when it arrives and the list is read again. The panel is followed by XDamage: each time the
// panel draws, its window is read back and the discs on it counted, stamped with the damage's arrival.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <poll.h>
#include <string>
#include <systemd/sd-bus.h>
#include <vector>

namespace {

constexpr const char* watcherService = "org.kde.StatusNotifierWatcher";
constexpr const char* watcherPath = "/StatusNotifierWatcher";
// The panel's window is read again at least this often, should a damage event go missing.
constexpr int pollMilliseconds = 100;
// How far (sum over red, green and blue) a pixel may be from the disc's colour.
constexpr int colourTolerance = 30;

// The clock of sd-bus's timeouts (CLOCK_MONOTONIC, as steady_clock's on Linux).
unsigned long long monotonicMicroseconds() {
    using namespace std::chrono;
    return static_cast<unsigned long long>(duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

long long wallClockMicroseconds() {
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "sni_probe: %s\n", message.c_str());
    std::exit(2);
}

struct State {
    long long expected = 0;
    // The watcher's list and when it last changed to the expected length.
    long long registered = -1;
    long long registeredAt = 0;
    std::string items;
    // The discs on the panel and when their number last changed to the expected one.
    long long shown = -1;
    long long shownAt = 0;
};

// --- The watcher ----------------------------------------------------------------------------------

// Reads RegisteredStatusNotifierItems from a reply; -1 when the reply is an error.
long long readItems(sd_bus_message* reply, std::string& items) {
    if (sd_bus_message_is_method_error(reply, nullptr)) {
        return -1;
    }
    if (sd_bus_message_enter_container(reply, 'v', "as") < 0 || sd_bus_message_enter_container(reply, 'a', "s") < 0) {
        return -1;
    }
    long long count = 0;
    items.clear();
    const char* item = nullptr;
    while (sd_bus_message_read(reply, "s", &item) > 0) {
        items += (count > 0 ? "," : "");
        items += item;
        ++count;
    }
    return count;
}

void noteRegistered(State& state, long long count, const std::string& items, long long at) {
    if (count == state.expected && state.registered != state.expected) {
        state.registeredAt = at;
    }
    state.registered = count;
    state.items = items;
}

struct PendingRead {
    State* state;
    long long signalledAt;
};

int onItemsRead(sd_bus_message* reply, void* data, sd_bus_error*) {
    std::unique_ptr<PendingRead> pending(static_cast<PendingRead*>(data));
    std::string items;
    const long long count = readItems(reply, items);
    if (count >= 0) {
        noteRegistered(*pending->state, count, items, pending->signalledAt);
    }
    return 0;
}

void readItemsLater(sd_bus* bus, State& state, long long signalledAt) {
    auto* pending = new PendingRead{&state, signalledAt};
    if (sd_bus_call_method_async(bus, nullptr, watcherService, watcherPath, "org.freedesktop.DBus.Properties",
                                 "Get", onItemsRead, pending, "ss", watcherService,
                                 "RegisteredStatusNotifierItems") < 0) {
        delete pending;
        fail("cannot ask the watcher for its items");
    }
}

struct SignalContext {
    sd_bus* bus;
    State* state;
};

int onWatcherSignal(sd_bus_message* message, void* data, sd_bus_error*) {
    const long long at = wallClockMicroseconds();
    const char* member = sd_bus_message_get_member(message);
    if (member != nullptr && std::strncmp(member, "StatusNotifierItem", 18) == 0) {
        auto* context = static_cast<SignalContext*>(data);
        readItemsLater(context->bus, *context->state, at);
    }
    return 0;
}

// --- The panel ------------------------------------------------------------------------------------

bool xError = false;
int ignoreXError(Display*, XErrorEvent*) {
    xError = true;
    return 0;
}

// The LXQt panel's window: a managed client of class lxqt-panel that is wider than high.
Window findPanel(Display* display) {
    const Atom clientList = XInternAtom(display, "_NET_CLIENT_LIST", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, DefaultRootWindow(display), clientList, 0, 4096, False, XA_WINDOW, &type,
                           &format, &count, &after, &data) != Success ||
        data == nullptr) {
        return None;
    }
    Window panel = None;
    const auto* clients = reinterpret_cast<const unsigned long*>(data);
    for (unsigned long i = 0; i < count && panel == None; ++i) {
        const auto window = static_cast<Window>(clients[i]);
        XClassHint hint{};
        if (XGetClassHint(display, window, &hint) == 0) {
            continue;
        }
        const bool isPanel = hint.res_class != nullptr && std::strcmp(hint.res_class, "lxqt-panel") == 0;
        XFree(hint.res_name);
        XFree(hint.res_class);
        XWindowAttributes attributes{};
        if (isPanel && XGetWindowAttributes(display, window, &attributes) != 0 &&
            attributes.map_state == IsViewable && attributes.width > attributes.height) {
            panel = window;
        }
    }
    XFree(data);
    return panel;
}

// The discs on the window: runs of at least three columns that each hold at least two pixels of the
// colour. The items stand in one row, with gaps between them.
long long countDiscs(Display* display, Window window, unsigned long colour) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) == 0) {
        return -1;
    }
    xError = false;
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    XSync(display, False);
    if (image == nullptr || xError) {
        if (image != nullptr) {
            XDestroyImage(image);
        }
        return -1;
    }
    const int wantRed = static_cast<int>((colour >> 16) & 0xff);
    const int wantGreen = static_cast<int>((colour >> 8) & 0xff);
    const int wantBlue = static_cast<int>(colour & 0xff);
    const auto channel = [](unsigned long pixel, unsigned long mask) {
        if (mask == 0) {
            return 0;
        }
        int shift = 0;
        while (((mask >> shift) & 1) == 0) {
            ++shift;
        }
        const unsigned long top = mask >> shift;
        return static_cast<int>(((pixel & mask) >> shift) * 255 / top);
    };
    long long discs = 0;
    int run = 0;
    for (int x = 0; x <= attributes.width; ++x) {
        int matching = 0;
        for (int y = 0; x < attributes.width && y < attributes.height && matching < 2; ++y) {
            const unsigned long pixel = XGetPixel(image, x, y);
            const int distance = std::abs(channel(pixel, image->red_mask) - wantRed) +
                                 std::abs(channel(pixel, image->green_mask) - wantGreen) +
                                 std::abs(channel(pixel, image->blue_mask) - wantBlue);
            matching += distance <= colourTolerance ? 1 : 0;
        }
        if (matching >= 2) {
            ++run;
        } else {
            discs += run >= 3 ? 1 : 0;
            run = 0;
        }
    }
    XDestroyImage(image);
    return discs;
}

void noteShown(State& state, long long discs, long long at) {
    if (discs < 0) {
        return;
    }
    if (discs == state.expected && state.shown != state.expected) {
        state.shownAt = at;
    }
    state.shown = discs;
}

bool done(const State& state) {
    return state.registered == state.expected && state.shown == state.expected;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc > 5 || std::strcmp(argv[1], "shown") != 0) {
        std::fprintf(stderr, "usage: sni_probe shown COUNT TIMEOUT_MS [RRGGBB]\n");
        return 2;
    }
    State state;
    state.expected = std::atoll(argv[2]);
    const long long deadline = wallClockMicroseconds() + std::atoll(argv[3]) * 1000;
    const unsigned long colour = std::strtoul(argc == 5 ? argv[4] : "007aff", nullptr, 16);

    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        fail("cannot open the display");
    }
    XSetErrorHandler(ignoreXError);
    int damageEvent = 0;
    int damageError = 0;
    if (XDamageQueryExtension(display, &damageEvent, &damageError) == 0) {
        fail("the display has no DAMAGE extension");
    }
    const Window panel = findPanel(display);
    if (panel == None) {
        fail("no LXQt panel on the display");
    }
    const Damage damage = XDamageCreate(display, panel, XDamageReportNonEmpty);

    sd_bus* bus = nullptr;
    if (sd_bus_open_user(&bus) < 0) {
        fail("cannot connect to the session bus");
    }
    SignalContext context{bus, &state};
    // By path and interface: a match on the sender's well-known name is not resolved by every bus library.
    if (sd_bus_match_signal(bus, nullptr, nullptr, watcherPath, watcherService, nullptr, onWatcherSignal,
                            &context) < 0) {
        fail("cannot follow the watcher's signals");
    }
    // The list as it is now, read after the signals are followed so that no change falls in between.
    {
        sd_bus_error error = SD_BUS_ERROR_NULL;
        sd_bus_message* reply = nullptr;
        const long long at = wallClockMicroseconds();
        if (sd_bus_call_method(bus, watcherService, watcherPath, "org.freedesktop.DBus.Properties", "Get", &error,
                               &reply, "ss", watcherService, "RegisteredStatusNotifierItems") < 0) {
            fail(std::string("no StatusNotifierWatcher: ") + (error.message != nullptr ? error.message : "?"));
        }
        std::string items;
        noteRegistered(state, readItems(reply, items), items, at);
        sd_bus_message_unref(reply);
        sd_bus_error_free(&error);
    }
    XDamageSubtract(display, damage, None, None);
    noteShown(state, countDiscs(display, panel, colour), wallClockMicroseconds());
    std::printf("ready\n");
    std::fflush(stdout);

    long long lastRead = wallClockMicroseconds();
    while (!done(state)) {
        long long now = wallClockMicroseconds();
        if (now >= deadline) {
            std::fprintf(stderr, "sni_probe: %lld items registered and %lld discs shown instead of %lld (items: %s)\n",
                         state.registered, state.shown, state.expected, state.items.c_str());
            return 1;
        }
        int timeout = static_cast<int>(std::min<long long>((deadline - now) / 1000 + 1, pollMilliseconds));
        // A call's timeout of sd-bus's own, as an absolute monotonic time.
        uint64_t busDue = 0;
        if (sd_bus_get_timeout(bus, &busDue) >= 0 && busDue != UINT64_MAX) {
            const unsigned long long nowMonotonic = monotonicMicroseconds();
            timeout = busDue <= nowMonotonic ? 0 : std::min<int>(timeout, static_cast<int>((busDue - nowMonotonic) / 1000 + 1));
        }
        pollfd descriptors[2] = {{ConnectionNumber(display), POLLIN, 0},
                                 {sd_bus_get_fd(bus), static_cast<short>(sd_bus_get_events(bus)), 0}};
        if (XPending(display) == 0 && timeout != 0) {
            poll(descriptors, 2, timeout);
        }
        bool damaged = false;
        long long damagedAt = 0;
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == damageEvent + XDamageNotify && !damaged) {
                damaged = true;
                damagedAt = wallClockMicroseconds();
            }
        }
        while (sd_bus_process(bus, nullptr) > 0) {
        }
        now = wallClockMicroseconds();
        if (damaged || now - lastRead >= pollMilliseconds * 1000LL) {
            XDamageSubtract(display, damage, None, None);
            noteShown(state, countDiscs(display, panel, colour), damaged ? damagedAt : now);
            lastRead = now;
        }
    }
    std::printf("%lld %lld %s\n", state.registeredAt, state.shownAt, state.items.c_str());
    XDamageDestroy(display, damage);
    XCloseDisplay(display);
    sd_bus_flush_close_unref(bus);
    return 0;
}
