#include "platform/linux/QtApplication.h"

#include "platform/SystemLog.h"
#include "platform/linux/dbus/InstanceEnvironment.h"
#include "platform/linux/dbus/RelaunchCommand.h"

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace driftmark {

void QtApplication::setAccessoryActivationPolicy() {
    QGuiApplication::setQuitOnLastWindowClosed(false);
}

void QtApplication::terminate() {
    QCoreApplication::quit();
}

void QtApplication::relaunch() {
    // The kernel's record of the command line keeps the arguments Qt took out of argv.
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    const QString program =
        error ? QCoreApplication::applicationFilePath()
              : QFile::decodeName(QByteArray::fromStdString(relaunchProgram(executable.string())));
    std::ifstream file("/proc/self/cmdline", std::ios::binary);
    const std::string commandLine{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    QStringList arguments;
    for (const auto& argument : relaunchArguments(commandLine)) {
        arguments.append(QString::fromLocal8Bit(argument));
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(replacesPidVariable), QString::number(::getpid()));
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setProcessEnvironment(environment);
    process.startDetached();
}

std::optional<std::string> QtApplication::bundleIdentifier() const {
    return std::string(applicationId);
}

std::string QtApplication::processName() const {
    return program_invocation_short_name;
}

} // namespace driftmark
