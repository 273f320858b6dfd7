#include "model/MenuBarItemJson.h"

#include "model/JsonFields.h"
#include "support/JsonLimits.h"

#include <cmath>

namespace driftmark {

namespace {

using nlohmann::json;
using nlohmann::ordered_json;

// Ten entries' texts, however long anyone would keep on a click; a list beyond it is unreadable.
constexpr JsonLimits listLimits(64 * 1024 * 1024);

// A number that JSON cannot hold (NaN or an infinity).
struct EncodingError {};

double finite(double number) {
    if (!std::isfinite(number)) {
        throw EncodingError{};
    }
    return number;
}

ordered_json encodeColor(const CodableColor& color) {
    return ordered_json{{"red", finite(color.red)},
                        {"green", finite(color.green)},
                        {"blue", finite(color.blue)},
                        {"alpha", finite(color.alpha)}};
}

// Keys in declaration order, so that the stored list reads like the record.
ordered_json encodeItem(const MenuBarItem& item) {
    ordered_json object{{"id", item.id().toString()},
                        {"text", item.text},
                        {"title", item.title},
                        {"iconColor", encodeColor(item.iconColor)},
                        {"usesSmartPaste", item.usesSmartPaste},
                        {"prependNewline", item.prependNewline}};
    if (item.keyboardShortcutName) {
        object["keyboardShortcutName"] = *item.keyboardShortcutName;
    }
    object["order"] = item.order;
    object["createdAt"] = finite(item.createdAt);
    return object;
}

CodableColor decodeColor(const json& value) {
    using namespace json_fields;
    const auto& color = object(value);
    return CodableColor{requiredNumber(color, "red"), requiredNumber(color, "green"),
                        requiredNumber(color, "blue"), requiredNumber(color, "alpha")};
}

MenuBarItem decodeItem(const json& value) {
    using namespace json_fields;
    const auto& item = object(value);
    return MenuBarItem(requiredUuid(item, "id"), requiredString(item, "text"), requiredString(item, "title"),
                       decodeColor(required(item, "iconColor")), requiredBool(item, "usesSmartPaste"),
                       optionalBool(item, "prependNewline").value_or(false),
                       optionalString(item, "keyboardShortcutName"), requiredInteger(item, "order"),
                       requiredNumber(item, "createdAt"));
}

} // namespace

std::optional<Bytes> encodeMenuBarItems(const std::vector<MenuBarItem>& items) {
    try {
        auto array = ordered_json::array();
        for (const auto& item : items) {
            array.push_back(encodeItem(item));
        }
        const std::string text = array.dump();
        return Bytes(text.begin(), text.end());
    } catch (const EncodingError&) {
        return std::nullopt;
    } catch (const nlohmann::json::exception&) {
        // dump() refuses text that is not valid UTF-8.
        return std::nullopt;
    }
}

std::optional<std::vector<MenuBarItem>> decodeMenuBarItems(const Bytes& bytes) {
    const json document = listLimits.read(bytes).value;
    if (!document.is_array()) {
        return std::nullopt;
    }
    try {
        std::vector<MenuBarItem> items;
        items.reserve(document.size());
        for (const auto& element : document) {
            items.push_back(decodeItem(element));
        }
        return items;
    } catch (const json_fields::DecodingError&) {
        return std::nullopt;
    }
}

} // namespace driftmark
