#pragma once

#include "platform/Clock.h"
#include "support/MemoryPreferencesStore.h"

#include <filesystem>
#include <functional>
#include <string>

namespace driftmark {

// The preferences store kept in one JSON file. The file is read once, at construction; every change is
// written through at once and is durable when the call returns (temporary file, fsync, rename).
// A file that cannot be read or parsed is moved aside, never overwritten, and the store starts empty.
// A file that is a symbolic link is read and written through the link, which stays.
class FilePreferencesStore final : public MemoryPreferencesStore {
public:
    // Receives one line for each problem with the file; the store carries on after it.
    using ProblemReporter = std::function<void(const std::string& line)>;

    // $XDG_CONFIG_HOME/driftmark-menubar/preferences.json; problems go to standard error and the log.
    static FilePreferencesStore& standard();
    static std::filesystem::path standardLocation();

    // The clock gives the time stamp of a file that is moved aside.
    FilePreferencesStore(std::filesystem::path file, ProblemReporter reportProblem,
                         const Clock& clock = SystemClock::shared());

    const std::filesystem::path& file() const { return file_; }

protected:
    void valuesChanged() override;

private:
    void load();
    void setAside(const std::filesystem::path& damaged, const std::string& reason);

    std::filesystem::path file_;
    ProblemReporter reportProblem_;
    const Clock& clock_;
};

} // namespace driftmark
