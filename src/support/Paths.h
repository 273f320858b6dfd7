#pragma once

#include <filesystem>

namespace driftmark {

// The user's home directory: $HOME, or the password database's entry when HOME is unset.
std::filesystem::path homeDirectory();
// $XDG_CONFIG_HOME when it is an absolute path, otherwise ~/.config.
std::filesystem::path configHome();

} // namespace driftmark
