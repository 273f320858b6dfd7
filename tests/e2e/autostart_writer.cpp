// Writes Driftmark's autostart entry for the executable named on the command line, as the settings
// window's switch does for the running one, so that a test can place the executable where it likes
// (the real program cannot open its settings window from a folder whose name is not UTF-8). Prints the
// reason and exits 1 when the entry is refused.
#include "support/XdgAutostartEntry.h"

#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: driftmark_e2e_autostart_writer EXECUTABLE\n";
        return 2;
    }
    driftmark::XdgAutostartEntry entry{std::filesystem::path(argv[1])};
    if (const auto error = entry.registerItem()) {
        std::cout << *error << '\n';
        return 1;
    }
    return 0;
}
