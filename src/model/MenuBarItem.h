#pragma once

#include "model/CodableColor.h"
#include "model/Uuid.h"
#include "platform/Color.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace driftmark {

// One configured entry: a disc in the tray, the text a click copies, and how the copy is delivered.
// A plain value; only the identity is fixed once built.
class MenuBarItem {
public:
    // An empty title is replaced by this many leading characters of the text.
    static constexpr std::size_t generatedTitleLength = 20;

    // A new entry: fresh id, created now, no Return before pasting and no shortcut name.
    MenuBarItem(std::string text, std::string title, const Color& color, bool usesSmartPaste,
                std::int64_t order);
    // An entry as it was stored, every field given.
    MenuBarItem(Uuid id, std::string text, std::string title, CodableColor iconColor, bool usesSmartPaste,
                bool prependNewline, std::optional<std::string> keyboardShortcutName, std::int64_t order,
                double createdAt);

    const Uuid& id() const { return id_; }

    friend bool operator==(const MenuBarItem&, const MenuBarItem&) = default;

private:
    Uuid id_;

public:
    std::string text;
    std::string title;
    CodableColor iconColor;
    bool usesSmartPaste = false;
    bool prependNewline = false;
    std::optional<std::string> keyboardShortcutName;
    std::int64_t order = 0;
    // Seconds since 2001-01-01 00:00:00 UTC.
    double createdAt = 0;
};

} // namespace driftmark
