#include "support/FilePreferencesStore.h"

#include "support/AppLogger.h"
#include "support/AtomicFile.h"
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

std::string utcStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    ::gmtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &parts);
    return text;
}

// The folder holds the user's texts: only they may list it.
std::optional<FileError> writePreferences(const std::filesystem::path& file, const std::string& text) {
    std::error_code ignored;
    std::filesystem::create_directories(file.parent_path(), ignored);
    ::chmod(file.parent_path().c_str(), 0700);
    return replaceFileAtomically(file, text, 0600);
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
    if (const auto error = writePreferences(file_, encodePreferences(values()))) {
        reportProblem_("Could not write preferences file " + file_.string() + ": " +
                       std::strerror(error->code));
    }
}

} // namespace driftmark
