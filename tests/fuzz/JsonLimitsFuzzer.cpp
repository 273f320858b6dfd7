// Any text read within the limits that every reader of outside JSON applies. What is read must be what
// nlohmann's own parser reads, and no deeper than the limit; what is refused for its depth must really
// nest that deep (or break off after the level too many); and a report's quote of the text stays short
// whatever the bytes.
#include "platform/OutsideText.h"
#include "support/JsonLimits.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using nlohmann::json;

// Small enough for the fuzzer to reach both limits within its input length.
constexpr std::size_t maximumBytes = 4096;
constexpr std::size_t maximumDepth = 8;

[[noreturn]] void broken(const char* what) {
    std::fprintf(stderr, "limited JSON reading: %s\n", what);
    std::abort();
}

// Levels of containers, counted without recursion: the reference value may be thousands deep.
std::size_t depthOf(const json& value) {
    std::size_t deepest = 0;
    std::vector<std::pair<const json*, std::size_t>> pending{{&value, 0}};
    while (!pending.empty()) {
        const auto [current, depth] = pending.back();
        pending.pop_back();
        if (!current->is_structured()) {
            continue;
        }
        deepest = std::max(deepest, depth + 1);
        for (const json& element : *current) {
            pending.emplace_back(&element, depth + 1);
        }
    }
    return deepest;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace driftmark;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto reading = JsonLimits(maximumBytes, maximumDepth).read(text);
    const json reference = json::parse(text, nullptr, false);

    if (size > maximumBytes) {
        if (reading.overLimit != "is longer than 4096 bytes" || !reading.value.is_discarded()) {
            broken("a text beyond the size was not refused for it");
        }
    } else if (!reading.overLimit.empty()) {
        if (reading.overLimit != "nests deeper than 8 levels" || !reading.value.is_discarded()) {
            broken("a refusal names the wrong limit");
        }
        if (!reference.is_discarded() && depthOf(reference) <= maximumDepth) {
            broken("a value within the depth was refused");
        }
    } else if (reading.value.is_discarded() != reference.is_discarded()) {
        broken(reference.is_discarded() ? "text that is not JSON was read" : "JSON was refused as not JSON");
    } else if (!reading.value.is_discarded()) {
        if (depthOf(reading.value) > maximumDepth) {
            broken("a value deeper than the limit was read");
        }
        if (reading.value != reference) {
            broken("the value differs from the parser's");
        }
    }

    // The quote: at most its limit of bytes, each escaped to at most 6, and the length.
    if (OutsideText::measuredExcerpt(text).size() > OutsideText::reportLimit * 6 + 32) {
        broken("a report's quote is too long");
    }
    return 0;
}
