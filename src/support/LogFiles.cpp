#include "support/LogFiles.h"

#include "support/Paths.h"

#include <cerrno>
#include <fcntl.h>
#include <iostream>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace driftmark {

namespace {

std::string describe(const std::filesystem::path& path, int error) {
    return path.string() + ": " + std::generic_category().message(error);
}

std::optional<std::string> makeDirectory(const std::filesystem::path& directory) {
    if (::mkdir(directory.c_str(), 0700) == 0) {
        return std::nullopt;
    }
    if (errno == ENOENT && directory.parent_path() != directory && !directory.parent_path().empty()) {
        if (auto failure = makeDirectory(directory.parent_path())) {
            return failure;
        }
        if (::mkdir(directory.c_str(), 0700) == 0) {
            return std::nullopt;
        }
    }
    const int error = errno;
    if (error == EEXIST) {
        // A link is left for the check that follows, which refuses it with its own message.
        std::error_code ignored;
        if (std::filesystem::is_directory(directory, ignored) ||
            std::filesystem::is_symlink(directory, ignored)) {
            return std::nullopt;
        }
    }
    return describe(directory, error);
}

bool writeAll(int descriptor, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace

std::shared_ptr<LogFiles> LogFiles::shared() {
    static const auto files = std::make_shared<LogFiles>(homeDirectory() / ".log" / appName);
    return files;
}

LogFiles::LogFiles(std::filesystem::path directory, ProblemReporter reportProblem)
    : directory_(std::move(directory))
    , reportProblem_(std::move(reportProblem)) {
    if (!reportProblem_) {
        reportProblem_ = [](const std::string& line) { std::cerr << line << std::endl; };
    }
}

LogFiles::~LogFiles() {
    closeFile();
}

std::filesystem::path LogFiles::dayFile(std::string_view day) const {
    std::string name(appName);
    name.append("-").append(day).append(".log");
    return directory_ / name;
}

std::optional<std::string> LogFiles::createDirectory() {
    const std::lock_guard lock(mutex_);
    if (refused_) {
        return std::nullopt;
    }
    int error = 0;
    int descriptor = openCheckedDirectory(directory_, error);
    // A missing directory is made; for anything else in its place, the attempt to make it says what.
    if (descriptor < 0 && (error == ENOENT || error == ENOTDIR)) {
        if (auto failure = makeDirectory(directory_)) {
            return failure;
        }
        descriptor = openCheckedDirectory(directory_, error);
    }
    if (descriptor < 0) {
        return error == 0 ? std::nullopt : std::optional<std::string>(describe(directory_, error));
    }
    ::close(descriptor);
    return std::nullopt;
}

int LogFiles::openCheckedDirectory(const std::filesystem::path& directory, int& error) {
    const int descriptor = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) {
        error = errno;
        struct stat link {};
        if ((error == ELOOP || error == ENOTDIR) && ::lstat(directory.c_str(), &link) == 0 &&
            S_ISLNK(link.st_mode)) {
            // It could lead anywhere, to a directory others can read or change.
            refuse(directory, "is a symbolic link, not a directory of your own");
            error = 0;
        }
        return -1;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0) {
        error = errno;
        ::close(descriptor);
        return -1;
    }
    error = 0;
    if (status.st_uid != ::geteuid()) {
        refuse(directory, "belongs to another user (uid " + std::to_string(status.st_uid) + ")");
        ::close(descriptor);
        return -1;
    }
    if ((status.st_mode & 07777) != 0700 && ::fchmod(descriptor, 0700) != 0) {
        refuse(directory, "could not be made private (" + std::generic_category().message(errno) + ")");
        ::close(descriptor);
        return -1;
    }
    return descriptor;
}

void LogFiles::refuse(const std::filesystem::path& directory, const std::string& reason) {
    refused_ = true;
    reportProblem_("Log directory " + directory.string() + " " + reason +
                   "; the log is not written to files");
}

std::optional<std::string> LogFiles::append(const std::filesystem::path& file, std::string_view bytes,
                                            std::string_view header) {
    const std::lock_guard lock(mutex_);
    if (refused_) {
        return std::nullopt;
    }
    if (!openFileIs(file)) {
        closeFile();
        if (auto failure = openFile(file, header)) {
            return failure;
        }
        if (openDescriptor_ < 0) {
            return std::nullopt; // the directory was refused just now
        }
    }
    if (!writeAll(openDescriptor_, bytes)) {
        const int error = errno;
        // Opened afresh for the next line, which may find the file or the disk in order again.
        closeFile();
        return describe(file, error);
    }
    return std::nullopt;
}

bool LogFiles::openFileIs(const std::filesystem::path& file) const {
    if (openDescriptor_ < 0 || file != openPath_) {
        return false;
    }
    // The path may lead elsewhere by now, or nowhere; a file that is still this one is written through
    // the descriptor, whatever became of the directory's mode meanwhile.
    struct stat status {};
    return ::stat(file.c_str(), &status) == 0 && static_cast<std::uint64_t>(status.st_dev) == openDevice_ &&
           static_cast<std::uint64_t>(status.st_ino) == openInode_;
}

std::optional<std::string> LogFiles::openFile(const std::filesystem::path& file, std::string_view header) {
    // The directory is checked again for each opening: it may have been replaced since.
    int error = 0;
    const int directory = openCheckedDirectory(file.parent_path(), error);
    if (directory < 0) {
        return error == 0 ? std::nullopt : std::optional<std::string>(describe(file, error));
    }
    // Neither open follows a link: a linked log file could hand the lines to anyone.
    const std::string name = file.filename().string();
    bool created = true;
    int descriptor = ::openat(directory, name.c_str(),
                              O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor < 0 && errno == EEXIST) {
        created = false;
        descriptor = ::openat(directory, name.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOFOLLOW);
    }
    const int openError = errno;
    ::close(directory);
    if (descriptor < 0) {
        return describe(file, openError);
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || (created && !writeAll(descriptor, header))) {
        const int writeError = errno;
        ::close(descriptor);
        return describe(file, writeError);
    }
    openDescriptor_ = descriptor;
    openPath_ = file;
    openDevice_ = static_cast<std::uint64_t>(status.st_dev);
    openInode_ = static_cast<std::uint64_t>(status.st_ino);
    return std::nullopt;
}

void LogFiles::closeFile() {
    if (openDescriptor_ >= 0) {
        ::close(openDescriptor_);
        openDescriptor_ = -1;
    }
}

} // namespace driftmark
