#include "support/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace driftmark {

namespace {

bool writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

std::string FileError::description() const {
    return path.string() + ": " + std::strerror(code);
}

std::optional<FileError> replaceFileAtomically(const std::filesystem::path& file, const std::string& text,
                                               mode_t mode) {
    const std::filesystem::path directory = file.parent_path();
    std::error_code created;
    std::filesystem::create_directories(directory, created);
    if (created) {
        return FileError{directory, created.value()};
    }
    std::string temporary = (directory / ("." + file.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return FileError{directory, errno};
    }
    const bool written = ::fchmod(fd, mode) == 0 && writeAll(fd, text) && ::fsync(fd) == 0;
    const int writeError = errno;
    ::close(fd);
    if (!written) {
        ::unlink(temporary.c_str());
        return FileError{temporary, writeError};
    }
    if (::rename(temporary.c_str(), file.c_str()) != 0) {
        const int renameError = errno;
        ::unlink(temporary.c_str());
        return FileError{file, renameError};
    }
    // The rename itself is durable only once the folder is synced.
    if (const int directoryFd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        directoryFd >= 0) {
        ::fsync(directoryFd);
        ::close(directoryFd);
    }
    return std::nullopt;
}

} // namespace driftmark
