#include "app/LogText.h"

#include <charconv>

namespace driftmark {

std::string shortestDecimal(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

} // namespace driftmark
