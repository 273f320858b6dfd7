#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace driftmark::test {

// The whole content of a file; empty when it cannot be read.
inline std::string readTextFile(const std::filesystem::path& path) {
    std::ifstream stream(path, std::ios::binary);
    std::ostringstream content;
    content << stream.rdbuf();
    return content.str();
}

} // namespace driftmark::test
