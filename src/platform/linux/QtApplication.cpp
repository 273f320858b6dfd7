#include "platform/linux/QtApplication.h"

#include "platform/SystemLog.h"

#include <QGuiApplication>
#include <cerrno>

namespace driftmark {

void QtApplication::setAccessoryActivationPolicy() {
    QGuiApplication::setQuitOnLastWindowClosed(false);
}

void QtApplication::terminate() {
    QCoreApplication::quit();
}

std::optional<std::string> QtApplication::bundleIdentifier() const {
    return std::string(applicationId);
}

std::string QtApplication::processName() const {
    return program_invocation_short_name;
}

} // namespace driftmark
