#include "support/AtomicFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace driftmark {

namespace {

// The name mkstemp() makes from the pattern "." + name + ".tmp-XXXXXX". The marker keeps a user's own
// ".preferences.json.backup" from ever being taken for one of ours.
constexpr std::size_t temporarySuffixLength = 6;

std::string temporaryPrefix(const std::filesystem::path& file) {
    return "." + file.filename().string() + ".tmp-";
}

bool isTemporaryName(const std::string& name, const std::string& prefix) {
    if (name.size() != prefix.size() + temporarySuffixLength || !name.starts_with(prefix)) {
        return false;
    }
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

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
    std::string temporary = (directory / (temporaryPrefix(file) + "XXXXXX")).string();
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

void removeLeftoverTemporaryFiles(const std::filesystem::path& file) {
    const std::string prefix = temporaryPrefix(file);
    std::error_code error;
    for (std::filesystem::directory_iterator entry(file.parent_path(), error), end; !error && entry != end;
         entry.increment(error)) {
        // A file that cannot be removed is left for the next start; it harms nothing.
        std::error_code ignored;
        if (isTemporaryName(entry->path().filename().string(), prefix) &&
            entry->symlink_status(ignored).type() == std::filesystem::file_type::regular) {
            std::filesystem::remove(entry->path(), ignored);
        }
    }
}

std::filesystem::path followSymbolicLinks(const std::filesystem::path& file) {
    // The limit the kernel itself applies to a chain of links.
    constexpr int maximumLinks = 40;
    std::filesystem::path current = file;
    for (int followed = 0; followed <= maximumLinks; ++followed) {
        std::error_code error;
        if (!std::filesystem::is_symlink(current, error)) {
            if (followed == 0) {
                return current;
            }
            // Tidy "dir/../other" into the path the user would write; the target itself may not exist.
            const std::filesystem::path directory =
                std::filesystem::weakly_canonical(current.parent_path(), error);
            return error ? current : directory / current.filename();
        }
        const std::filesystem::path target = std::filesystem::read_symlink(current, error);
        if (error) {
            return file;
        }
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return file;
}

} // namespace driftmark
