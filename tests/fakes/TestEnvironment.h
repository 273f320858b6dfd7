#pragma once

#include <filesystem>

namespace driftmark::test {

// A fresh directory that is deleted with its contents when the object goes.
class TemporaryDirectory {
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Points HOME, XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_CACHE_HOME and XDG_RUNTIME_DIR into a temporary
// directory for the object's lifetime.
class TemporaryHome {
public:
    TemporaryHome();
    const std::filesystem::path& path() const { return directory_.path(); }

private:
    TemporaryDirectory directory_;
};

} // namespace driftmark::test
