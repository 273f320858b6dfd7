#include "KeyboardShortcuts/ShortcutJson.h"

#include "support/JsonLimits.h"

#include <limits>
#include <nlohmann/json.hpp>

namespace driftmark::KeyboardShortcuts {

namespace {

// A stored shortcut is two numbers; the room left is for members another release may add.
constexpr JsonLimits storedLimits(4096);

std::optional<std::int64_t> integerMember(const nlohmann::json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end() || !found->is_number_integer()) {
        return std::nullopt;
    }
    if (found->is_number_unsigned() &&
        found->get<std::uint64_t>() > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        return std::nullopt;
    }
    return found->get<std::int64_t>();
}

} // namespace

std::string encodeJson(const Shortcut& shortcut) {
    nlohmann::ordered_json object;
    object["carbonKeyCode"] = shortcut.carbonKeyCode;
    object["carbonModifiers"] = shortcut.carbonModifiers;
    return object.dump();
}

std::optional<Shortcut> decodeJson(std::string_view json) {
    const nlohmann::json parsed = storedLimits.read(json).value;
    if (!parsed.is_object()) {
        return std::nullopt;
    }
    const auto keyCode = integerMember(parsed, "carbonKeyCode");
    const auto modifiers = integerMember(parsed, "carbonModifiers");
    if (!keyCode || !modifiers) {
        return std::nullopt;
    }
    return Shortcut::asStored(*keyCode, *modifiers);
}

} // namespace driftmark::KeyboardShortcuts
