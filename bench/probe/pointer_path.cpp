// The pointer-motion benchmark's hand on the mouse: it moves the pointer of the display in $DISPLAY
// through the points read from standard input ("X Y" per line, root coordinates), one XTest motion per
// point, so that the driver itself costs the X server one request per motion and nothing else.
// Built and run by bench/pointer-motion-benchmark.
//
//   pointer_path move INTERVAL_US   one motion every INTERVAL_US microseconds, on a fixed schedule so
//                                   that a late motion does not shift the ones after it; at the end,
//                                   one round trip makes sure the server has taken every motion. Prints
//                                   "MOTIONS ELAPSED_US LATE", LATE counting the motions sent more than
//                                   one interval behind their time.
//   pointer_path windows            moves to each point in turn and prints the deepest window under the
//                                   pointer there (decimal; 0 for the bare root window), one per line.
//
// The interval matters: Qt folds a motion event into the next one when both wait in its queue, so a
// burst of motions would be handled as a few. Spaced like a real mouse's reports, each is handled alone.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::microseconds;

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "pointer_path: %s\n", message.c_str());
    std::exit(2);
}

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <class T>
using Reply = std::unique_ptr<T, FreeReply>;

std::vector<std::pair<int, int>> readPoints() {
    std::vector<std::pair<int, int>> points;
    int x = 0;
    int y = 0;
    while (std::scanf("%d %d", &x, &y) == 2) {
        points.emplace_back(x, y);
    }
    if (points.empty()) {
        fail("no points on standard input");
    }
    return points;
}

void moveTo(xcb_connection_t* connection, xcb_window_t root, int x, int y) {
    // Detail 0: the coordinates are absolute, on the given root window.
    xcb_test_fake_input(connection, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root, static_cast<int16_t>(x),
                        static_cast<int16_t>(y), 0);
}

void roundTrip(xcb_connection_t* connection) {
    const Reply<xcb_get_input_focus_reply_t> reply(
        xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    if (!reply) {
        fail("the display went away");
    }
}

int move(xcb_connection_t* connection, xcb_window_t root, const std::vector<std::pair<int, int>>& points,
         microseconds interval) {
    const auto start = Clock::now();
    int late = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const auto due = start + interval * static_cast<long long>(i);
        std::this_thread::sleep_until(due);
        if (Clock::now() - due > interval) {
            ++late;
        }
        moveTo(connection, root, points[i].first, points[i].second);
        xcb_flush(connection);
    }
    roundTrip(connection);
    const auto elapsed = std::chrono::duration_cast<microseconds>(Clock::now() - start).count();
    std::printf("%zu %lld %d\n", points.size(), static_cast<long long>(elapsed), late);
    return 0;
}

// Follows the pointer down the window tree from the root.
xcb_window_t deepestWindowUnderPointer(xcb_connection_t* connection, xcb_window_t root) {
    xcb_window_t window = root;
    xcb_window_t deepest = 0;
    while (true) {
        const Reply<xcb_query_pointer_reply_t> reply(
            xcb_query_pointer_reply(connection, xcb_query_pointer(connection, window), nullptr));
        if (!reply || reply->child == XCB_NONE) {
            return deepest;
        }
        deepest = reply->child;
        window = reply->child;
    }
}

int windows(xcb_connection_t* connection, xcb_window_t root, const std::vector<std::pair<int, int>>& points) {
    for (const auto& [x, y] : points) {
        moveTo(connection, root, x, y);
        roundTrip(connection);
        std::printf("%u\n", deepestWindowUnderPointer(connection, root));
    }
    return 0;
}

int usage() {
    std::fprintf(stderr, "usage: pointer_path move INTERVAL_US <points\n"
                         "       pointer_path windows <points\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    const bool moving = args.size() == 2 && args[0] == "move";
    if (!moving && !(args.size() == 1 && args[0] == "windows")) {
        return usage();
    }
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection) != 0) {
        fail("cannot open the display");
    }
    const Reply<xcb_test_get_version_reply_t> version(
        xcb_test_get_version_reply(connection, xcb_test_get_version(connection, 2, 2), nullptr));
    if (!version) {
        fail("the display offers no XTEST");
    }
    auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber; ++i) {
        xcb_screen_next(&screens);
    }
    const xcb_window_t root = screens.data->root;
    const auto points = readPoints();
    const int status = moving ? move(connection, root, points, microseconds(std::stoll(args[1])))
                              : windows(connection, root, points);
    xcb_disconnect(connection);
    return status;
}
