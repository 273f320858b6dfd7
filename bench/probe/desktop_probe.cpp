// The desktop benchmark's stopwatch: it watches the display in $DISPLAY for what a person waits for,
// tray icons docking, text arriving on the clipboard and a window coming up, and says when it happened.
// Built and run by bench/desktop-benchmark.
//
//   desktop_probe docked COUNT TIMEOUT_MS   waits until exactly COUNT windows of other programs are mapped
//                                           inside the tray; prints the wall-clock time then (microseconds
//                                           since the epoch, like bash's EPOCHREALTIME)
//   desktop_probe click WINDOW TEXT COUNT   clicks the middle of WINDOW COUNT times; per click, prints the
//                                           microseconds from the button release to the new clipboard
//                                           owner and to TEXT read back from that owner
//   desktop_probe keys CHORD TEXT COUNT     the same for a key chord such as Control_L+Shift_L+u, timed
//                                           from the release of its last key
//   desktop_probe window ICON TITLE COUNT   opens the window titled TITLE COUNT times from the context
//                                           menu of the tray icon ICON: a right click on the icon, then
//                                           Ctrl+, once the menu is mapped. Per opening, prints the
//                                           microseconds from the press of the comma key to the window's
//                                           MapNotify and to the first damage reported on it after that
//                                           (its first frame on screen). Between openings the window is
//                                           closed as the window manager's close button does it
//                                           (WM_DELETE_WINDOW); after the last one it stays open.
//
// Xlib reads every event; xcb is used only for requests (XTest, pipelined tree walks), as libX11 allows.
#include <X11/Xatom.h>
#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/Xfixes.h>
#include <X11/keysym.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <poll.h>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>
#include <xcb/xtest.h>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::microseconds;
using std::chrono::milliseconds;

// A click or chord slower than this did not copy anything.
constexpr milliseconds trialTimeout{3000};
// Lets the target handle the press before the release is timed.
constexpr milliseconds pressToRelease{40};
// Keeps consecutive clicks apart, as a person's are.
constexpr milliseconds betweenTrials{250};
// How often the tray is walked when no event has come.
constexpr int dockPollMilliseconds = 2;

long long wallClockMicroseconds() {
    return std::chrono::duration_cast<microseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

long long microsecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<microseconds>(Clock::now() - start).count();
}

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "desktop_probe: %s\n", message.c_str());
    std::exit(2);
}

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <class T>
using Reply = std::unique_ptr<T, FreeReply>;

// Waits up to `timeout` for the X connection to have something to read.
void waitForEvents(Display* display, milliseconds timeout) {
    if (XPending(display) > 0) {
        return;
    }
    pollfd descriptor{ConnectionNumber(display), POLLIN, 0};
    poll(&descriptor, 1, static_cast<int>(timeout.count()));
}

// The tray's windows are told apart from the icons it holds by the X resource-id base of its client.
// The child windows of a window, in stacking order; none when it is gone.
std::vector<Window> childrenOf(Display* display, Window window) {
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) {
        return {};
    }
    std::vector<Window> list(children, children + count);
    if (children != nullptr) {
        XFree(children);
    }
    return list;
}

class TrayWatcher {
public:
    // A tray that has only just started may not own its selection yet.
    TrayWatcher(Display* display, Clock::time_point deadline)
        : display_(display)
        , connection_(XGetXCBConnection(display)) {
        const std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(display));
        const Atom selectionAtom = XInternAtom(display, selection.c_str(), False);
        Window manager = XGetSelectionOwner(display, selectionAtom);
        while (manager == None && Clock::now() < deadline) {
            std::this_thread::sleep_for(milliseconds(dockPollMilliseconds));
            manager = XGetSelectionOwner(display, selectionAtom);
        }
        if (manager == None) {
            fail("no system tray owns " + selection);
        }
        idMask_ = xcb_get_setup(connection_)->resource_id_mask;
        trayBase_ = manager & ~idMask_;
        findTrayRoots(DefaultRootWindow(display));
    }

    // Icons of other clients that sit mapped in the tray's windows.
    int countDockedIcons() {
        int docked = 0;
        std::vector<xcb_window_t> level = roots_;
        while (!level.empty()) {
            XFlush(display_);
            std::vector<xcb_query_tree_cookie_t> trees;
            for (const xcb_window_t window : level) {
                trees.push_back(xcb_query_tree(connection_, window));
            }
            std::vector<xcb_window_t> next;
            std::vector<xcb_get_window_attributes_cookie_t> foreign;
            for (const auto cookie : trees) {
                const Reply<xcb_query_tree_reply_t> tree(xcb_query_tree_reply(connection_, cookie, nullptr));
                if (!tree) {
                    continue; // destroyed while we looked
                }
                const xcb_window_t* children = xcb_query_tree_children(tree.get());
                for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
                    if (isTrayWindow(children[i])) {
                        watch(children[i]);
                        next.push_back(children[i]);
                    } else {
                        foreign.push_back(xcb_get_window_attributes(connection_, children[i]));
                    }
                }
            }
            for (const auto cookie : foreign) {
                const Reply<xcb_get_window_attributes_reply_t> attributes(
                    xcb_get_window_attributes_reply(connection_, cookie, nullptr));
                if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE) {
                    ++docked;
                }
            }
            level = std::move(next);
        }
        return docked;
    }

private:
    bool isTrayWindow(xcb_window_t window) const { return (window & ~idMask_) == trayBase_; }

    // The top windows of the tray's client, wherever the window manager has put them.
    void findTrayRoots(Window window) {
        for (const Window child : childrenOf(display_, window)) {
            if (isTrayWindow(child)) {
                watch(child);
                roots_.push_back(child);
            } else {
                findTrayRoots(child);
            }
        }
    }

    // Structure changes below the tray's windows wake the wait at once instead of at the next poll.
    void watch(xcb_window_t window) {
        if (watched_.insert(window).second) {
            XSelectInput(display_, window, SubstructureNotifyMask);
        }
    }

    Display* display_;
    xcb_connection_t* connection_;
    std::uint32_t idMask_ = 0;
    std::uint32_t trayBase_ = 0;
    std::vector<xcb_window_t> roots_;
    std::set<xcb_window_t> watched_;
};

int waitDocked(Display* display, int expected, milliseconds timeout) {
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; }); // windows vanish while we walk
    const auto deadline = Clock::now() + timeout;
    TrayWatcher tray(display, deadline);
    int docked = -1;
    while (Clock::now() < deadline) {
        docked = tray.countDockedIcons();
        if (docked == expected) {
            std::printf("%lld\n", wallClockMicroseconds());
            return 0;
        }
        waitForEvents(display, milliseconds(dockPollMilliseconds));
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
        }
    }
    std::fprintf(stderr, "desktop_probe: %d docked icons instead of %d after %lld ms\n", docked, expected,
                 static_cast<long long>(timeout.count()));
    return 1;
}

// Owns the clipboard between trials, so that each trial's copy is a visible change of owner.
class ClipboardWatcher {
public:
    explicit ClipboardWatcher(Display* display)
        : display_(display)
        , clipboard_(XInternAtom(display, "CLIPBOARD", False))
        , utf8_(XInternAtom(display, "UTF8_STRING", False))
        , property_(XInternAtom(display, "DESKTOP_PROBE_TEXT", False)) {
        int errorBase = 0;
        if (XFixesQueryExtension(display, &fixesEventBase_, &errorBase) == 0) {
            fail("the display has no XFIXES extension");
        }
        window_ = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
        XFixesSelectSelectionInput(display, window_, clipboard_, XFixesSetSelectionOwnerNotifyMask);
        XSync(display, False);
    }

    void takeOwnership() {
        XSetSelectionOwner(display_, clipboard_, window_, CurrentTime);
        XSync(display_, False);
        drain();
    }

    struct Arrival {
        long long ownerMicroseconds;
        long long textMicroseconds;
        std::string text;
    };

    // Waits for another client to take the clipboard, then reads its text.
    std::optional<Arrival> waitForNewOwner(Clock::time_point start) {
        const auto deadline = start + trialTimeout;
        std::optional<long long> ownerAt;
        while (Clock::now() < deadline) {
            waitForEvents(display_, milliseconds(50));
            while (XPending(display_) > 0) {
                XEvent event;
                XNextEvent(display_, &event);
                if (event.type == fixesEventBase_ + XFixesSelectionNotify) {
                    const auto& notify = reinterpret_cast<const XFixesSelectionNotifyEvent&>(event);
                    if (notify.owner != window_ && notify.owner != None && !ownerAt) {
                        ownerAt = microsecondsSince(start);
                        XConvertSelection(display_, clipboard_, utf8_, property_, window_,
                                          notify.selection_timestamp);
                        XFlush(display_);
                    }
                } else if (event.type == SelectionNotify && ownerAt) {
                    const long long textAt = microsecondsSince(start);
                    return Arrival{*ownerAt, textAt, readText(event.xselection)};
                } else if (event.type == SelectionRequest) {
                    refuse(event.xselectionrequest);
                }
            }
        }
        return std::nullopt;
    }

private:
    std::string readText(const XSelectionEvent& event) {
        if (event.property == None) {
            return {};
        }
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(display_, window_, property_, 0, 1 << 16, True, AnyPropertyType, &type, &format,
                           &count, &remaining, &data);
        std::string text =
            data != nullptr ? std::string(reinterpret_cast<char*>(data), count) : std::string();
        if (data != nullptr) {
            XFree(data);
        }
        return text;
    }

    // The placeholder ownership has nothing to give.
    void refuse(const XSelectionRequestEvent& request) {
        XEvent reply{};
        reply.xselection.type = SelectionNotify;
        reply.xselection.requestor = request.requestor;
        reply.xselection.selection = request.selection;
        reply.xselection.target = request.target;
        reply.xselection.property = None;
        reply.xselection.time = request.time;
        XSendEvent(display_, request.requestor, False, NoEventMask, &reply);
        XFlush(display_);
    }

    void drain() {
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type == SelectionRequest) {
                refuse(event.xselectionrequest);
            }
        }
    }

    Display* display_;
    Atom clipboard_;
    Atom utf8_;
    Atom property_;
    Window window_ = None;
    int fixesEventBase_ = 0;
};

// Synthetic input through XTest; every request is flushed at once.
class Input {
public:
    explicit Input(Display* display)
        : display_(display)
        , connection_(XGetXCBConnection(display))
        , root_(DefaultRootWindow(display)) {
        int opcode = 0;
        int event = 0;
        int error = 0;
        if (XQueryExtension(display, "XTEST", &opcode, &event, &error) == 0) {
            fail("the display has no XTEST extension");
        }
    }

    void moveTo(int x, int y) { send(XCB_MOTION_NOTIFY, 0, x, y); }
    void button(bool press, std::uint8_t number = 1) {
        send(press ? XCB_BUTTON_PRESS : XCB_BUTTON_RELEASE, number, 0, 0);
    }
    void key(KeyCode code, bool press) { send(press ? XCB_KEY_PRESS : XCB_KEY_RELEASE, code, 0, 0); }

private:
    void send(std::uint8_t type, std::uint8_t detail, int x, int y) {
        XFlush(display_); // Xlib's queued requests go first
        xcb_test_fake_input(connection_, type, detail, XCB_CURRENT_TIME, root_, static_cast<std::int16_t>(x),
                            static_cast<std::int16_t>(y), 0);
        xcb_flush(connection_);
    }

    Display* display_;
    xcb_connection_t* connection_;
    Window root_;
};

// One trial: `press` before the clock starts, `release` starts it.
template <class Press, class Release>
bool runTrials(Display* display, const std::string& expected, int count, Press press, Release release) {
    ClipboardWatcher clipboard(display);
    bool allCopied = true;
    for (int trial = 0; trial < count; ++trial) {
        clipboard.takeOwnership();
        press();
        XSync(display, False);
        std::this_thread::sleep_for(pressToRelease);
        const auto start = Clock::now();
        release();
        const auto arrival = clipboard.waitForNewOwner(start);
        if (!arrival) {
            std::printf("timeout\n");
            allCopied = false;
        } else if (arrival->text != expected) {
            std::printf("mismatch %s\n", arrival->text.c_str());
            allCopied = false;
        } else {
            std::printf("%lld %lld\n", arrival->ownerMicroseconds, arrival->textMicroseconds);
        }
        std::fflush(stdout);
        std::this_thread::sleep_for(betweenTrials);
    }
    return allCopied;
}

int clickTrials(Display* display, Window target, const std::string& expected, int count) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, target, &attributes) == 0) {
        fail("no such window");
    }
    int x = 0;
    int y = 0;
    Window child = None;
    XTranslateCoordinates(display, target, DefaultRootWindow(display), attributes.width / 2,
                          attributes.height / 2, &x, &y, &child);
    Input input(display);
    input.moveTo(x, y);
    return runTrials(
               display, expected, count, [&] { input.button(true); }, [&] { input.button(false); })
               ? 0
               : 1;
}

int keyTrials(Display* display, const std::string& chord, const std::string& expected, int count) {
    std::vector<KeyCode> keys;
    std::istringstream names(chord);
    for (std::string name; std::getline(names, name, '+');) {
        const KeySym symbol = XStringToKeysym(name.c_str());
        const KeyCode code = symbol == NoSymbol ? 0 : XKeysymToKeycode(display, symbol);
        if (code == 0) {
            fail("no key for " + name);
        }
        keys.push_back(code);
    }
    Input input(display);
    const auto pressAll = [&] {
        for (const KeyCode code : keys) {
            input.key(code, true);
        }
    };
    // The last key goes up first, as in a typed chord; the modifiers follow after the clock started.
    const auto releaseAll = [&] {
        for (auto key = keys.rbegin(); key != keys.rend(); ++key) {
            input.key(*key, false);
        }
    };
    return runTrials(display, expected, count, pressAll, releaseAll) ? 0 : 1;
}

// A window that was never shown may take a while: its program loads its views first.
constexpr milliseconds windowTimeout{20000};
// Lets the menu take the keyboard before the shortcut is typed into it.
constexpr milliseconds menuToKeys{150};

// Follows top-level windows from their creation: mapping, unmapping and damage to their content.
class WindowWatcher {
public:
    WindowWatcher(Display* display, std::string title)
        : display_(display)
        , root_(DefaultRootWindow(display))
        , title_(std::move(title))
        , netWmName_(XInternAtom(display, "_NET_WM_NAME", False))
        , windowType_(XInternAtom(display, "_NET_WM_WINDOW_TYPE", False))
        , toolTipType_(XInternAtom(display, "_NET_WM_WINDOW_TYPE_TOOLTIP", False))
        , protocols_(XInternAtom(display, "WM_PROTOCOLS", False))
        , deleteWindow_(XInternAtom(display, "WM_DELETE_WINDOW", False)) {
        int errorBase = 0;
        if (XDamageQueryExtension(display, &damageEventBase_, &errorBase) == 0) {
            fail("the display has no DAMAGE extension");
        }
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; }); // windows vanish while we look
        XSelectInput(display, root_, SubstructureNotifyMask);
        // A window shown before, now hidden, is found by its title below the window manager's frames.
        findByTitle(root_);
        XSync(display, False);
    }

    // Waits for a pop-up menu (an override-redirect window that is not a tooltip) to be mapped.
    bool waitForMenu(Clock::time_point deadline) {
        while (Clock::now() < deadline) {
            waitForEvents(display_, milliseconds(50));
            while (XPending(display_) > 0) {
                XEvent event;
                XNextEvent(display_, &event);
                if (event.type == MapNotify && event.xmap.event == root_ && event.xmap.override_redirect &&
                    !hasType(event.xmap.window, toolTipType_)) {
                    return true;
                }
                handle(event);
            }
        }
        return false;
    }

    struct Opening {
        long long mappedMicroseconds;
        long long drawnMicroseconds;
    };

    // Waits for the titled window to be mapped and then damaged.
    std::optional<Opening> waitForOpening(Clock::time_point start) {
        const auto deadline = start + windowTimeout;
        mappedAt_.reset();
        drawnAt_.reset();
        timing_ = start;
        checkAlreadyMapped();
        while (!drawnAt_ && Clock::now() < deadline) {
            waitForEvents(display_, milliseconds(50));
            while (XPending(display_) > 0) {
                XEvent event;
                XNextEvent(display_, &event);
                handle(event);
            }
        }
        timing_.reset();
        if (!drawnAt_) {
            return std::nullopt;
        }
        return Opening{*mappedAt_, *drawnAt_};
    }

    // Asks the titled window to close, as the window manager's close button does, and waits until it
    // is unmapped.
    bool close(Clock::time_point deadline) {
        if (target_ == None) {
            return false;
        }
        XEvent message{};
        message.xclient.type = ClientMessage;
        message.xclient.window = target_;
        message.xclient.message_type = protocols_;
        message.xclient.format = 32;
        message.xclient.data.l[0] = static_cast<long>(deleteWindow_);
        message.xclient.data.l[1] = CurrentTime;
        XSendEvent(display_, target_, False, NoEventMask, &message);
        XFlush(display_);
        unmapped_ = false;
        while (!unmapped_ && Clock::now() < deadline) {
            waitForEvents(display_, milliseconds(50));
            while (XPending(display_) > 0) {
                XEvent event;
                XNextEvent(display_, &event);
                handle(event);
            }
        }
        return unmapped_;
    }

    void drain() {
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            handle(event);
        }
    }

private:
    void handle(const XEvent& event) {
        if (event.type == CreateNotify && event.xcreatewindow.parent == root_ &&
            !event.xcreatewindow.override_redirect) {
            watch(event.xcreatewindow.window);
            if (timing_) {
                checkAlreadyMapped();
            }
        } else if (event.type == MapNotify && event.xmap.event == event.xmap.window &&
                   damages_.contains(event.xmap.window)) {
            if (timing_ && !mappedAt_ && hasTitle(event.xmap.window)) {
                target_ = event.xmap.window;
                mappedAt_ = microsecondsSince(*timing_);
            }
        } else if (event.type == UnmapNotify && event.xunmap.event == event.xunmap.window &&
                   event.xunmap.window == target_) {
            unmapped_ = true;
        } else if (event.type == damageEventBase_ + XDamageNotify) {
            const auto& notify = reinterpret_cast<const XDamageNotifyEvent&>(event);
            XDamageSubtract(display_, notify.damage, None, None);
            if (timing_ && mappedAt_ && !drawnAt_ && notify.drawable == target_) {
                drawnAt_ = microsecondsSince(*timing_);
            }
        }
    }

    // Input is selected on a new window only after it was created; it may have been mapped before that.
    void checkAlreadyMapped() {
        if (mappedAt_) {
            return;
        }
        for (const auto& [window, damage] : damages_) {
            XWindowAttributes attributes{};
            if (XGetWindowAttributes(display_, window, &attributes) != 0 &&
                attributes.map_state == IsViewable && hasTitle(window)) {
                target_ = window;
                mappedAt_ = microsecondsSince(*timing_);
                return;
            }
        }
    }

    void watch(Window window) {
        if (damages_.contains(window)) {
            return;
        }
        XSelectInput(display_, window, StructureNotifyMask);
        damages_.emplace(window, XDamageCreate(display_, window, XDamageReportNonEmpty));
        XFlush(display_);
    }

    void findByTitle(Window window) {
        for (const Window child : childrenOf(display_, window)) {
            if (hasTitle(child)) {
                watch(child);
                target_ = child;
            } else {
                findByTitle(child);
            }
        }
    }

    std::string property(Window window, Atom name) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, window, name, 0, 1024, False, AnyPropertyType, &type, &format,
                               &count, &remaining, &data) != Success ||
            data == nullptr) {
            return {};
        }
        std::string value(reinterpret_cast<char*>(data), format == 8 ? count : count * sizeof(long));
        XFree(data);
        return value;
    }

    bool hasTitle(Window window) {
        const std::string name = property(window, netWmName_);
        return (name.empty() ? property(window, XA_WM_NAME) : name) == title_;
    }

    bool hasType(Window window, Atom type) {
        const std::string types = property(window, windowType_);
        for (std::size_t offset = 0; offset + sizeof(long) <= types.size(); offset += sizeof(long)) {
            long atom = 0;
            types.copy(reinterpret_cast<char*>(&atom), sizeof atom, offset);
            if (static_cast<Atom>(atom) == type) {
                return true;
            }
        }
        return false;
    }

    Display* display_;
    Window root_;
    std::string title_;
    Atom netWmName_;
    Atom windowType_;
    Atom toolTipType_;
    Atom protocols_;
    Atom deleteWindow_;
    int damageEventBase_ = 0;
    std::map<Window, Damage> damages_;
    Window target_ = None;
    std::optional<Clock::time_point> timing_;
    std::optional<long long> mappedAt_;
    std::optional<long long> drawnAt_;
    bool unmapped_ = false;
};

int windowTrials(Display* display, Window icon, const std::string& title, int count) {
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, icon, &attributes) == 0) {
        fail("no such window");
    }
    int x = 0;
    int y = 0;
    Window child = None;
    XTranslateCoordinates(display, icon, DefaultRootWindow(display), attributes.width / 2,
                          attributes.height / 2, &x, &y, &child);
    const KeyCode control = XKeysymToKeycode(display, XK_Control_L);
    const KeyCode comma = XKeysymToKeycode(display, XK_comma);
    if (control == 0 || comma == 0) {
        fail("no key for Control_L or comma");
    }
    WindowWatcher windows(display, title);
    Input input(display);
    bool allOpened = true;
    for (int trial = 0; trial < count; ++trial) {
        // The pointer comes onto the icon as a person's does, then the right button opens the menu.
        input.moveTo(x - 2, y - 2);
        input.moveTo(x, y);
        XSync(display, False);
        windows.drain();
        input.button(true, 3);
        input.button(false, 3);
        if (!windows.waitForMenu(Clock::now() + trialTimeout)) {
            std::printf("no-menu\n");
            std::fflush(stdout);
            return 1;
        }
        std::this_thread::sleep_for(menuToKeys);
        windows.drain();
        input.key(control, true);
        XSync(display, False);
        const auto start = Clock::now();
        input.key(comma, true);
        input.key(comma, false);
        input.key(control, false);
        const auto opening = windows.waitForOpening(start);
        if (!opening) {
            std::printf("timeout\n");
            allOpened = false;
        } else {
            std::printf("%lld %lld\n", opening->mappedMicroseconds, opening->drawnMicroseconds);
        }
        std::fflush(stdout);
        if (trial + 1 < count) {
            if (!windows.close(Clock::now() + trialTimeout)) {
                std::printf("not-closed\n");
                std::fflush(stdout);
                return 1;
            }
            std::this_thread::sleep_for(betweenTrials);
        }
    }
    return allOpened ? 0 : 1;
}

int usage() {
    std::fprintf(stderr, "usage: desktop_probe docked COUNT TIMEOUT_MS\n"
                         "       desktop_probe click WINDOW TEXT COUNT\n"
                         "       desktop_probe keys CHORD TEXT COUNT\n"
                         "       desktop_probe window ICON TITLE COUNT\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        return usage();
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        fail("cannot open the display");
    }
    int status = 2;
    if (args[0] == "docked" && args.size() == 3) {
        status = waitDocked(display, std::stoi(args[1]), milliseconds(std::stoi(args[2])));
    } else if (args[0] == "click" && args.size() == 4) {
        status = clickTrials(display, static_cast<Window>(std::stoul(args[1], nullptr, 0)), args[2],
                             std::stoi(args[3]));
    } else if (args[0] == "keys" && args.size() == 4) {
        status = keyTrials(display, args[1], args[2], std::stoi(args[3]));
    } else if (args[0] == "window" && args.size() == 4) {
        status = windowTrials(display, static_cast<Window>(std::stoul(args[1], nullptr, 0)), args[2],
                              std::stoi(args[3]));
    } else {
        status = usage();
    }
    XCloseDisplay(display);
    return status;
}
