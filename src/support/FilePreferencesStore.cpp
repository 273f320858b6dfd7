#include "support/FilePreferencesStore.h"

#include "support/AppLogger.h"
#include "support/Paths.h"
#include "support/PreferencesFileFormat.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace driftmark {

namespace {

std::string systemError(int code) {
    return std::strerror(code);
}

std::string utcStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    ::gmtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &parts);
    return text;
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

// Replaces `file` with `text` so that a crash at any moment leaves either the old or the new file.
bool replaceAtomically(const std::filesystem::path& file, const std::string& text, std::string& error) {
    const std::filesystem::path directory = file.parent_path();
    std::error_code ignored;
    std::filesystem::create_directories(directory, ignored);
    ::chmod(directory.c_str(), 0700);

    std::string temporary = (directory / ("." + file.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        error = systemError(errno);
        return false;
    }
    const bool written = ::fchmod(fd, 0600) == 0 && writeAll(fd, text) && ::fsync(fd) == 0;
    const int writeErrno = errno;
    ::close(fd);
    if (!written || ::rename(temporary.c_str(), file.c_str()) != 0) {
        error = systemError(written ? errno : writeErrno);
        ::unlink(temporary.c_str());
        return false;
    }
    if (const int dirFd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

} // namespace

std::filesystem::path FilePreferencesStore::standardLocation() {
    return configHome() / "driftmark-menubar" / "preferences.json";
}

FilePreferencesStore& FilePreferencesStore::standard() {
    static FilePreferencesStore store(standardLocation(), [](const std::string& line) {
        std::cerr << line << std::endl;
        AppLogger::shared().warning(line);
    });
    return store;
}

FilePreferencesStore::FilePreferencesStore(std::filesystem::path file, ProblemReporter reportProblem)
    : file_(std::move(file))
    , reportProblem_(std::move(reportProblem)) {
    load();
}

void FilePreferencesStore::load() {
    std::error_code missing;
    if (!std::filesystem::exists(file_, missing)) {
        return;
    }
    std::ifstream stream(file_, std::ios::binary);
    if (!stream) {
        setAside("cannot be read");
        return;
    }
    std::ostringstream text;
    text << stream.rdbuf();
    if (auto values = decodePreferences(text.str())) {
        replaceValues(std::move(*values));
    } else {
        setAside("is not a valid preferences file");
    }
}

void FilePreferencesStore::setAside(const std::string& reason) {
    std::filesystem::path kept = file_;
    kept += ".corrupt-" + utcStamp();
    std::error_code error;
    std::filesystem::rename(file_, kept, error);
    if (error) {
        reportProblem_("Preferences file " + file_.string() + " " + reason +
                       " and could not be kept aside (" + error.message() +
                       "); starting with empty preferences");
        return;
    }
    reportProblem_("Preferences file " + file_.string() + " " + reason + "; kept it as " + kept.string() +
                   " and started with empty preferences");
}

void FilePreferencesStore::valuesChanged() {
    std::string error;
    if (!replaceAtomically(file_, encodePreferences(values()), error)) {
        reportProblem_("Could not write preferences file " + file_.string() + ": " + error);
    }
}

} // namespace driftmark
