#pragma once

#include "platform/linux/keys/MenuKeySequence.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace driftmark {

// A key combination as a dbusmenu host shows it beside an item: the modifiers' names ("Control", "Alt",
// "Shift", "Super"), then the key as Qt names it, a letter in upper case. Empty when `key` names no key.
inline std::vector<std::string> dbusMenuKeyCombination(std::string_view key, std::uint64_t modifierFlags) {
    using namespace menuKeySequence;
    std::optional<std::string> name = portableKeySequence(key, 0);
    if (!name) {
        return {};
    }
    if (name->size() == 1 && name->front() >= 'a' && name->front() <= 'z') {
        name->front() = static_cast<char>(name->front() - 'a' + 'A');
    }
    std::vector<std::string> combination;
    if ((modifierFlags & controlFlag) != 0) {
        combination.emplace_back("Control");
    }
    if ((modifierFlags & optionFlag) != 0) {
        combination.emplace_back("Alt");
    }
    if ((modifierFlags & shiftFlag) != 0) {
        combination.emplace_back("Shift");
    }
    if ((modifierFlags & commandFlag) != 0) {
        combination.emplace_back("Super");
    }
    combination.push_back(std::move(*name));
    return combination;
}

} // namespace driftmark
