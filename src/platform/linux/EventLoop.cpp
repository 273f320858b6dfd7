#include "platform/linux/EventLoop.h"

#include "platform/linux/QuitDeadline.h"

#include <QApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdlib>
#include <sys/socket.h>
#include <unistd.h>

namespace driftmark {

namespace {

// A signal handler may only do async-signal-safe work: it writes one byte to a socket that the
// event loop watches, and the loop quits from there.
// The deadline starts in the handler itself: the loop may be the very thing that hangs.
int signalSocket[2] = {-1, -1};
QuitDeadline* quitDeadline = nullptr;

void onTerminationSignal(int) {
    quitDeadline->start();
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalSocket[0], &byte, 1);
}

} // namespace

// Qt must draw where the services chosen for the session work, whatever else QT_QPA_PLATFORM names.
static int& preparedArgc(int& argc, DisplayServer server) {
    ::setenv("QT_QPA_PLATFORM", server == DisplayServer::wayland ? "wayland" : "xcb", 1);
    return argc;
}

struct EventLoop::State {
    QApplication application;
    std::unique_ptr<QSocketNotifier> notifier;

    State(int& argc, char** argv, DisplayServer server)
        : application(preparedArgc(argc, server), argv) {}
};

EventLoop::EventLoop(int& argc, char** argv, DisplayServer server)
    : state_(std::make_unique<State>(argc, argv, server)) {
    QCoreApplication::setApplicationName(QStringLiteral("driftmark-menubar"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("driftmark.app"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DRIFTMARK_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("app.driftmark.menubar"));
    // A tray program keeps running when its last window closes; its windows only hide.
    QGuiApplication::setQuitOnLastWindowClosed(false);

    if (quitDeadline == nullptr) {
        quitDeadline = &QuitDeadline::install(quitCeiling);
    }
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

int EventLoop::run() {
    const int status = QCoreApplication::exec();
    quitDeadline->start();
    return status;
}

void EventLoop::quitWorkDone(int status) {
    quitDeadline->setExitStatus(status);
}

} // namespace driftmark
