// The entry list as the "menuBarItems" value of a preferences file holds it, from any bytes: a file
// written by another release, edited by hand or damaged on disk. A list that reads must save back and
// read again unchanged, or an entry would change or vanish at the next start.
#include "model/MenuBarItemJson.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void roundTripBroken(const char* what, const driftmark::Bytes* stored = nullptr) {
    std::fprintf(stderr, "entry list round trip: %s\n", what);
    if (stored != nullptr) {
        std::fprintf(stderr, "stored form: %s\n", std::string(stored->begin(), stored->end()).c_str());
    }
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace driftmark;
    const Bytes input(data, data + size);
    const auto items = decodeMenuBarItems(input);
    if (!items) {
        return 0;
    }
    const auto stored = encodeMenuBarItems(*items);
    if (!stored) {
        roundTripBroken("a list that was read cannot be saved");
    }
    const auto reread = decodeMenuBarItems(*stored);
    if (!reread) {
        roundTripBroken("the saved list cannot be read", &*stored);
    }
    if (*reread != *items) {
        roundTripBroken("the saved list reads differently", &*stored);
    }
    // Saving an unchanged list writes the same bytes, so that a save changes the file only when the
    // entries change.
    if (encodeMenuBarItems(*reread) != stored) {
        roundTripBroken("saving the list again gives other bytes", &*stored);
    }
    return 0;
}
