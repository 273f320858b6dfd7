#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>

namespace driftmark {

// Why a file could not be written: the file or folder concerned and the system's error number.
struct FileError {
    std::filesystem::path path;
    int code = 0;

    // "<path>: <the system's description of the error>".
    std::string description() const;
};

// Replaces `file` with `text` (creating its folder if needed) through a temporary file beside it that
// is synced and renamed over it, so that a crash at any moment leaves either the old or the new file,
// and the new one is on disk when the call returns.
std::optional<FileError> replaceFileAtomically(const std::filesystem::path& file, const std::string& text,
                                               mode_t mode);

// Removes the temporary files that replacements of `file` left beside it when they were killed.
void removeLeftoverTemporaryFiles(const std::filesystem::path& file);

// The file at the end of a chain of symbolic links, or `file` itself when it is no link (or the chain
// loops). Replacing that file instead of the link keeps the link and what it points at in step.
std::filesystem::path followSymbolicLinks(const std::filesystem::path& file);

} // namespace driftmark
