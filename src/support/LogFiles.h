#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace driftmark {

// The directory of the daily log files and the appends to them. Both log writers go through one
// object, whose lock spans the existence check and the write, so that lines and the day header are
// never torn, lost or overwritten when the writers meet. The file last written stays open between
// lines; it is opened anew when a line is for another file (a new day) or when its path no longer
// leads to it (moved away, deleted or replaced).
//
// The log holds the user's texts, so it is written only into a real directory of the user's own, made
// private, and never through a symbolic link. A directory that fails this is refused for good: one
// line says so, and from then on lines are dropped without further messages.
class LogFiles {
public:
    // Receives the one line that says why the directory is refused.
    using ProblemReporter = std::function<void(const std::string& line)>;

    static constexpr std::string_view appName = "driftmark-menubar";

    // ~/.log/driftmark-menubar
    static std::shared_ptr<LogFiles> shared();

    // Without a reporter, the refusal goes to standard error.
    explicit LogFiles(std::filesystem::path directory, ProblemReporter reportProblem = {});
    ~LogFiles();
    LogFiles(const LogFiles&) = delete;
    LogFiles& operator=(const LogFiles&) = delete;

    const std::filesystem::path& directory() const { return directory_; }
    // The file of one day: "driftmark-menubar-" + day + ".log" in the directory.
    std::filesystem::path dayFile(std::string_view day) const;

    // Creates the directory and its missing parents, readable by the owner only, and makes an existing
    // one private. Returns the error's description on failure; a refusal is reported, not returned.
    std::optional<std::string> createDirectory();

    // Appends the bytes to the file, opening it unless it is the one still open. A missing file is
    // created, readable by the owner only, and then starts with the header. Returns the error's description
    // on failure; once the directory is refused, the bytes are dropped and nothing is returned.
    std::optional<std::string> append(const std::filesystem::path& file, std::string_view bytes,
                                      std::string_view header = {});

private:
    // The directory opened without following a link, checked and private; -1 with `error` set when it
    // cannot be opened, or with `error` 0 when it is refused.
    int openCheckedDirectory(const std::filesystem::path& directory, int& error);
    void refuse(const std::filesystem::path& directory, const std::string& reason);
    // Whether the file still open is the one the path leads to: one stat call per line.
    bool openFileIs(const std::filesystem::path& file) const;
    // Opens the file through its checked directory and keeps it open; writes the header when this
    // creates it.
    std::optional<std::string> openFile(const std::filesystem::path& file, std::string_view header);
    void closeFile();

    std::filesystem::path directory_;
    ProblemReporter reportProblem_;
    std::mutex mutex_;
    bool refused_ = false;
    // The file kept open, -1 for none, and what identifies it on disk.
    int openDescriptor_ = -1;
    std::filesystem::path openPath_;
    std::uint64_t openDevice_ = 0;
    std::uint64_t openInode_ = 0;
};

} // namespace driftmark
