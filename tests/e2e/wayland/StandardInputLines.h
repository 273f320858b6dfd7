#pragma once

#include <QCoreApplication>
#include <QSocketNotifier>
#include <functional>
#include <string>
#include <unistd.h>

// Hands each line of standard input to `handle` as it arrives, between the event loop's other work, and
// quits the application when the input ends: the drivers of the tests take one command a line.
class StandardInputLines {
public:
    explicit StandardInputLines(std::function<void(const std::string&)> handle)
        : notifier_(STDIN_FILENO, QSocketNotifier::Read)
        , handle_(std::move(handle)) {
        QObject::connect(&notifier_, &QSocketNotifier::activated, &notifier_, [this] { readAvailable(); });
    }

private:
    void readAvailable() {
        char buffer[4096];
        const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (count <= 0) {
            QCoreApplication::quit();
            return;
        }
        pending_.append(buffer, static_cast<std::size_t>(count));
        for (auto end = pending_.find('\n'); end != std::string::npos; end = pending_.find('\n')) {
            const std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            handle_(line);
        }
    }

    QSocketNotifier notifier_;
    std::function<void(const std::string&)> handle_;
    std::string pending_;
};
