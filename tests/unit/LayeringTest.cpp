#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The logic is plain C++: only the Linux layer and the windows speak Qt, X11, D-Bus or Wayland, and the
// logic never reaches into either of them.
TEST(Layering, OnlyTheLinuxLayerAndTheWindowsIncludeToolkitOrDisplayHeaders) {
    const fs::path source(DRIFTMARK_SOURCE_DIR);
    const std::regex toolkit(
        R"(^\s*#\s*include\s*<(Q[A-Za-z]|xcb/|X11/|xkbcommon/|dbus/|wayland-|systemd/))");
    const std::regex layer(R"(^\s*#\s*include\s*"(platform/linux|settings)/)");
    std::vector<std::string> offenders;
    std::size_t checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(source)) {
        const fs::path relative = fs::relative(entry.path(), source);
        const std::string first = relative.begin()->string();
        const bool isLinuxLayer = relative.string().starts_with("platform/linux") || first == "settings";
        const auto extension = entry.path().extension();
        if (!entry.is_regular_file() || isLinuxLayer || (extension != ".h" && extension != ".cpp")) {
            continue;
        }
        // main() alone picks the real implementations.
        if (relative == "app/main.cpp") {
            continue;
        }
        ++checked;
        std::ifstream file(entry.path());
        for (std::string line; std::getline(file, line);) {
            if (std::regex_search(line, toolkit) || std::regex_search(line, layer)) {
                offenders.push_back(relative.string() + ": " + line);
            }
        }
    }
    EXPECT_GT(checked, 50U) << "the sources were not found under " << source;
    EXPECT_TRUE(offenders.empty()) << offenders.front();
}

// The platform layer serves the logic and knows nothing of it: its interfaces and their Linux
// implementations never reach for the entry model, the shortcut module, the application or its
// support code.
TEST(Layering, ThePlatformLayerIncludesNothingOfTheLogic) {
    const fs::path platform = fs::path(DRIFTMARK_SOURCE_DIR) / "platform";
    const std::regex upward(R"(^\s*#\s*include\s*"(model|support|app|KeyboardShortcuts)/)");
    std::vector<std::string> offenders;
    std::size_t checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(platform)) {
        const auto extension = entry.path().extension();
        if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp")) {
            continue;
        }
        ++checked;
        std::ifstream file(entry.path());
        for (std::string line; std::getline(file, line);) {
            if (std::regex_search(line, upward)) {
                offenders.push_back(fs::relative(entry.path(), platform).string() + ": " + line);
            }
        }
    }
    EXPECT_GT(checked, 30U) << "the platform sources were not found under " << platform;
    EXPECT_TRUE(offenders.empty()) << offenders.front();
}

} // namespace
