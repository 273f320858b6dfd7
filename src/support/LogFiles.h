#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace driftmark {

// The directory of the daily log files and the appends to them. Both log writers go through one
// object, whose lock spans the existence check and the write, so that lines and the day header are
// never torn, lost or overwritten when the writers meet.
class LogFiles {
public:
    static constexpr std::string_view appName = "driftmark-menubar";

    // ~/.log/driftmark-menubar
    static std::shared_ptr<LogFiles> shared();

    explicit LogFiles(std::filesystem::path directory);

    const std::filesystem::path& directory() const { return directory_; }
    // The file of one day: "driftmark-menubar-" + day + ".log" in the directory.
    std::filesystem::path dayFile(std::string_view day) const;

    // Creates the directory and its missing parents, readable by the owner only. Returns the error's
    // description on failure.
    std::optional<std::string> createDirectory() const;

    // Appends the bytes to the file, opening and closing it. A missing file is created, readable by the
    // owner only, and then starts with the header. Returns the error's description on failure.
    std::optional<std::string> append(const std::filesystem::path& file, std::string_view bytes,
                                      std::string_view header = {});

private:
    std::filesystem::path directory_;
    std::mutex mutex_;
};

} // namespace driftmark
