#include "support/FilePreferencesStore.h"

#include "support/AppLogger.h"
#include "support/AtomicFile.h"
#include "support/Paths.h"
#include "support/PreferencesFileFormat.h"

#include <cerrno>
#include <cstdio>
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

std::string utcStamp(std::chrono::system_clock::time_point time) {
    const std::time_t now = std::chrono::system_clock::to_time_t(time);
    std::tm parts{};
    ::gmtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &parts);
    return text;
}

// The folder holds the user's texts: only they may list it. A linked file is replaced beside its
// target, so that the link stays and keeps pointing at the current preferences.
std::optional<FileError> writePreferences(const std::filesystem::path& file, const std::string& text) {
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    ::chmod(file.parent_path().c_str(), 0700);
    return replaceFileAtomically(followSymbolicLinks(file), text, 0600);
}

// Renames without ever replacing a file that has the new name; returns the error number, 0 on success.
int renameWithoutReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return errno;
    }
    // A file system without that flag: a hard link is never made over an existing name either.
    if (::link(from.c_str(), to.c_str()) != 0) {
        return errno;
    }
    ::unlink(from.c_str());
    return 0;
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

FilePreferencesStore::FilePreferencesStore(std::filesystem::path file, ProblemReporter reportProblem,
                                           const Clock& clock)
    : file_(std::move(file))
    , reportProblem_(std::move(reportProblem))
    , clock_(clock) {
    load();
}

void FilePreferencesStore::load() {
    // Only one Driftmark runs at a time, so a temporary file found now belongs to a write that was
    // killed; it would stay for good otherwise.
    const std::filesystem::path target = followSymbolicLinks(file_);
    removeLeftoverTemporaryFiles(file_);
    if (target != file_) {
        removeLeftoverTemporaryFiles(target);
    }
    std::error_code missing;
    if (!std::filesystem::exists(target, missing)) {
        return;
    }
    std::ifstream stream(target, std::ios::binary);
    if (!stream) {
        setAside(target, "cannot be read");
        return;
    }
    std::ostringstream text;
    text << stream.rdbuf();
    if (auto values = decodePreferences(text.str())) {
        replaceValues(std::move(*values));
    } else {
        setAside(target, "is not a valid preferences file");
    }
}

void FilePreferencesStore::setAside(const std::filesystem::path& damaged, const std::string& reason) {
    // Backups made within one second share their stamp; a number after it keeps each of them.
    constexpr int maximumBackupsPerStamp = 1000;
    std::filesystem::path stamped = damaged;
    stamped += ".corrupt-" + utcStamp(clock_.now());
    std::filesystem::path kept = stamped;
    int error = renameWithoutReplacing(damaged, kept);
    for (int number = 2; error == EEXIST && number <= maximumBackupsPerStamp; ++number) {
        kept = stamped;
        kept += "." + std::to_string(number);
        error = renameWithoutReplacing(damaged, kept);
    }
    if (error != 0) {
        reportProblem_("Preferences file " + file_.string() + " " + reason +
                       " and could not be kept aside (" + std::strerror(error) +
                       "); starting with empty preferences");
        return;
    }
    reportProblem_("Preferences file " + file_.string() + " " + reason + "; kept it as " + kept.string() +
                   " and started with empty preferences");
}

void FilePreferencesStore::valuesChanged() {
    if (const auto error = writePreferences(file_, encodePreferences(values()))) {
        reportProblem_("Could not write preferences file " + file_.string() + ": " +
                       std::strerror(error->code));
    }
}

} // namespace driftmark
