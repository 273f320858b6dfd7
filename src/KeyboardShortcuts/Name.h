#pragma once

#include "KeyboardShortcuts/Shortcut.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace driftmark::KeyboardShortcuts {

// How the application addresses one global shortcut. The shortcut itself is stored per name; the default
// is what a fresh store starts with and what a reset restores. A plain value: storing the default and
// the module's set-up happen in Module::makeName.
struct Name {
    std::string rawValue;
    std::optional<Shortcut> defaultShortcut;

    explicit Name(std::string name, std::optional<Shortcut> defaultValue = std::nullopt)
        : rawValue(std::move(name))
        , defaultShortcut(defaultValue) {}

    // The identity is the string alone.
    friend bool operator==(const Name& left, const Name& right) { return left.rawValue == right.rawValue; }
};

} // namespace driftmark::KeyboardShortcuts

template <>
struct std::hash<driftmark::KeyboardShortcuts::Name> {
    std::size_t operator()(const driftmark::KeyboardShortcuts::Name& name) const noexcept {
        return std::hash<std::string>{}(name.rawValue);
    }
};
