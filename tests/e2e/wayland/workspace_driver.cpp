// Driftmark's foreign-toplevel workspace and the windows it follows, for the end-to-end tests:
//
//   driftmark_e2e_wayland_workspace driver
//       The workspace on Driftmark's own Wayland connection, answering a line per command on standard input:
//       "frontmost" and "previous" → "HANDLE APP_ID NAME" or "absent"; "activate HANDLE" → "activated" or
//       "refused".
//   driftmark_e2e_wayland_workspace window APP_ID TITLE
//       A plain Qt window whose app_id is APP_ID (with QT_QPA_PLATFORM=wayland), as Driftmark names its own.
#include "platform/linux/wayland/ForeignToplevelWorkspace.h"
#include "platform/linux/wayland/WaylandConnection.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <QSocketNotifier>
#include <iostream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

void answer(const std::string& line) {
    std::cout << line << std::endl;
}

std::string described(const std::optional<driftmark::RunningApplication>& application) {
    if (!application) {
        return "absent";
    }
    return std::to_string(application->handle) + " " + application->bundleIdentifier.value_or("-") + " " +
           application->localizedName.value_or("-");
}

void execute(driftmark::Workspace& workspace, const std::string& line) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command == "frontmost") {
        answer(described(workspace.frontmostApplication()));
    } else if (command == "previous") {
        answer(described(workspace.previousApplication()));
    } else if (command == "activate") {
        driftmark::RunningApplication application;
        words >> application.handle;
        answer(workspace.activate(application) ? "activated" : "refused");
    }
}

int drive(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    auto connection =
        driftmark::WaylandConnection::open([](const std::string& problem) { answer("lost: " + problem); });
    if (!connection || connection->foreignToplevelManager() == nullptr || connection->seat() == nullptr) {
        std::cerr << "no compositor that lists its windows\n";
        return 1;
    }
    driftmark::ForeignToplevelWorkspace workspace(*connection);
    // The tests send a command only once the last one is answered: a line never waits in the buffer.
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &input, [&] {
        std::string line;
        if (!std::getline(std::cin, line)) {
            QCoreApplication::quit();
            return;
        }
        execute(workspace, line);
    });
    return QCoreApplication::exec();
}

class PlainWindow final : public QRasterWindow {
protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(QRect(QPoint(), size()), Qt::darkCyan); }
};

int showWindow(int argc, char** argv, const char* appId, const char* title) {
    QGuiApplication application(argc, argv);
    QGuiApplication::setDesktopFileName(QString::fromUtf8(appId));
    PlainWindow window;
    window.setTitle(QString::fromUtf8(title));
    window.resize(320, 200);
    window.show();
    return QGuiApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "driver" && argc == 2) {
        return drive(argc, argv);
    }
    if (mode == "window" && argc == 4) {
        return showWindow(argc, argv, argv[2], argv[3]);
    }
    std::cerr << "usage: " << argv[0] << " driver | window APP_ID TITLE\n";
    return 2;
}
