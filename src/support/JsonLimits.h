#pragma once

#include <cstddef>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace driftmark {

// Reads JSON that comes from outside the program (the preferences file and the values stored in it)
// within a size and a nesting depth. nlohmann::json parses without recursion, but dump(), copies and
// comparisons recurse once per level, so a value nested a few hundred thousand levels deep would
// overflow the stack in whatever walks it next. The depth is checked as the text is read, and reading
// stops at the first level too many.
class JsonLimits final {
public:
    // Far deeper than anything Driftmark stores (three levels), and shallow enough for any walk.
    static constexpr std::size_t standardDepth = 64;

    struct Reading {
        // Discarded (is_discarded()) when the text is not JSON or exceeds a limit.
        nlohmann::json value;
        // Which limit the text exceeds, as a report goes on: "nests deeper than 64 levels" or "is longer
        // than 4096 bytes". Empty when it was read, and when it is simply not JSON.
        std::string overLimit;
    };

    constexpr explicit JsonLimits(std::size_t maximumBytes, std::size_t maximumDepth = standardDepth)
        : maximumBytes_(maximumBytes)
        , maximumDepth_(maximumDepth) {}

    Reading read(std::string_view text) const;
    Reading read(const std::vector<std::uint8_t>& bytes) const;

private:
    std::size_t maximumBytes_;
    std::size_t maximumDepth_;
};

} // namespace driftmark
