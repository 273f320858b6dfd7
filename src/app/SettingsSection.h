#pragma once

#include "model/Uuid.h"

#include <optional>
#include <string>

namespace driftmark {

// What the settings window's sidebar has selected: the general pane, one entry's pane, or the about pane.
struct SettingsSection {
    enum class Kind { general, menuItem, about };

    Kind kind = Kind::general;
    // Set for menuItem only.
    std::optional<Uuid> itemId;

    static SettingsSection general() { return {Kind::general, std::nullopt}; }
    static SettingsSection about() { return {Kind::about, std::nullopt}; }
    static SettingsSection menuItem(const Uuid& id) { return {Kind::menuItem, id}; }

    // "general", "about", or the entry id's canonical form.
    std::string identity() const {
        return itemId ? itemId->toString() : kind == Kind::about ? "about" : "general";
    }

    friend bool operator==(const SettingsSection&, const SettingsSection&) = default;
};

} // namespace driftmark
