#include "platform/linux/EventLoop.h"

#include <QApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdlib>
#include <sys/socket.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace driftmark {

namespace {

// A signal handler may only do async-signal-safe work: it writes one byte to a socket that the
// event loop watches, and the loop quits from there.
int signalSocket[2] = {-1, -1};

void onTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalSocket[0], &byte, 1);
}

} // namespace

// The tray icons, the key grabs and the keystrokes all speak X11, so the program runs on the xcb
// platform also inside a Wayland session (through XWayland).
static int& preparedArgc(int& argc) {
    ::setenv("QT_QPA_PLATFORM", "xcb", 0);
    return argc;
}

struct EventLoop::State {
    QApplication application;
    std::unique_ptr<QSocketNotifier> notifier;

    State(int& argc, char** argv)
        : application(preparedArgc(argc), argv) {}
};

EventLoop::EventLoop(int& argc, char** argv)
    : state_(std::make_unique<State>(argc, argv)) {
    QCoreApplication::setApplicationName(QStringLiteral("driftmark-menubar"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("driftmark.app"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DRIFTMARK_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("app.driftmark.menubar"));
    // A tray program keeps running when its last window closes; its windows only hide.
    QGuiApplication::setQuitOnLastWindowClosed(false);

    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSocket) == 0) {
        state_->notifier = std::make_unique<QSocketNotifier>(signalSocket[1], QSocketNotifier::Read);
        QObject::connect(state_->notifier.get(), &QSocketNotifier::activated, &state_->application, [] {
            char byte = 0;
            [[maybe_unused]] const auto got = ::read(signalSocket[1], &byte, 1);
            QCoreApplication::quit();
        });
        struct sigaction action = {};
        action.sa_handler = onTerminationSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        // A closed terminal or session sends SIGHUP: the same clean quit.
        for (const int number : {SIGINT, SIGTERM, SIGHUP}) {
            sigaction(number, &action, nullptr);
        }
    }
}

EventLoop::~EventLoop() = default;

std::optional<std::string> EventLoop::displayProblem() {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        return std::string(
            "no X11 display (DISPLAY is not set). The system tray icons need an X11 desktop, or "
            "XWayland in a Wayland session; `make run` starts a private virtual desktop.");
    }
    // Qt aborts on a display it cannot open, with advice to reinstall it; one connection first tells
    // what is really wrong.
    xcb_connection_t* connection = xcb_connect(display, nullptr);
    const int error = xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    if (error == 0) {
        return std::nullopt;
    }
    const char* reason = error == XCB_CONN_CLOSED_PARSE_ERR        ? "that is not the name of a display"
                         : error == XCB_CONN_CLOSED_INVALID_SCREEN ? "the display has no such screen"
                                                                   : "no X server accepts connections there";
    return "cannot open the X11 display \"" + std::string(display) + "\" named by DISPLAY: " + reason +
           ". The system tray icons need an X11 desktop, or XWayland in a Wayland session; `make run` "
           "starts a private virtual desktop.";
}

int EventLoop::run() {
    return QCoreApplication::exec();
}

} // namespace driftmark
