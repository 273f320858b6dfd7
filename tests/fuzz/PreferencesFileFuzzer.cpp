// The preferences file's text, from any bytes: edited by hand, written by another release or damaged.
// Whatever the parser accepts must be written back and read again to the same values, or a start that
// only rewrites the file would change the user's settings.
#include "support/PreferencesFileFormat.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void roundTripBroken(const char* what, const std::string* written = nullptr) {
    std::fprintf(stderr, "preferences file round trip: %s\n", what);
    if (written != nullptr) {
        std::fprintf(stderr, "written file:\n%s\n", written->c_str());
    }
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace driftmark;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto values = decodePreferences(text);
    if (!values) {
        return 0;
    }
    const std::string written = encodePreferences(*values);
    const auto reread = decodePreferences(written);
    if (!reread) {
        roundTripBroken("the written file cannot be read", &written);
    }
    if (*reread != *values) {
        roundTripBroken("the written file reads differently", &written);
    }
    if (encodePreferences(*reread) != written) {
        roundTripBroken("writing the values again gives another file", &written);
    }
    return 0;
}
