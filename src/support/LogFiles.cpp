#include "support/LogFiles.h"

#include "support/Paths.h"

#include <cerrno>
#include <fcntl.h>
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
        std::error_code ignored;
        if (std::filesystem::is_directory(directory, ignored)) {
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

LogFiles::LogFiles(std::filesystem::path directory)
    : directory_(std::move(directory)) {}

std::filesystem::path LogFiles::dayFile(std::string_view day) const {
    std::string name(appName);
    name.append("-").append(day).append(".log");
    return directory_ / name;
}

std::optional<std::string> LogFiles::createDirectory() const {
    return makeDirectory(directory_);
}

std::optional<std::string> LogFiles::append(const std::filesystem::path& file, std::string_view bytes,
                                            std::string_view header) {
    const std::lock_guard lock(mutex_);
    bool created = true;
    int descriptor = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (descriptor < 0 && errno == EEXIST) {
        created = false;
        descriptor = ::open(file.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    }
    if (descriptor < 0) {
        return describe(file, errno);
    }
    const bool written = (!created || writeAll(descriptor, header)) && writeAll(descriptor, bytes);
    const int writeError = errno;
    const bool closed = ::close(descriptor) == 0;
    if (!written) {
        return describe(file, writeError);
    }
    if (!closed) {
        return describe(file, errno);
    }
    return std::nullopt;
}

} // namespace driftmark
