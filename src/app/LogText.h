#pragma once

#include <string>

namespace driftmark {

// How log lines spell a boolean.
inline const char* boolText(bool value) {
    return value ? "true" : "false";
}

// The shortest decimal that reads back as the same number: 0.8 gives "0.8".
std::string shortestDecimal(double value);

} // namespace driftmark
