#include "support/PreferencesFileFormat.h"

#include "support/Base64.h"
#include "support/JsonLimits.h"

#include <nlohmann/json.hpp>

namespace driftmark {

namespace {

using nlohmann::json;

// Room for the entry list at its own bound (64 MiB, a third more in base64) and everything beside it.
constexpr JsonLimits fileLimits(256 * 1024 * 1024);

json encodeValue(const PreferenceValue& value) {
    switch (value.index()) {
    case 0:
        return {{"data", base64Encode(std::get<Bytes>(value))}};
    case 1:
        return {{"string", std::get<std::string>(value)}};
    case 2:
        return {{"bool", std::get<bool>(value)}};
    case 3:
        return {{"integer", std::get<std::int64_t>(value)}};
    default:
        return {{"double", std::get<double>(value)}};
    }
}

std::optional<PreferenceValue> decodeValue(const json& member) {
    if (!member.is_object() || member.size() != 1) {
        return std::nullopt;
    }
    const auto only = member.begin();
    const std::string& kind = only.key();
    const json& value = only.value();
    if (kind == "data" && value.is_string()) {
        if (auto bytes = base64Decode(value.get_ref<const std::string&>())) {
            return PreferenceValue(std::move(*bytes));
        }
    } else if (kind == "string" && value.is_string()) {
        return PreferenceValue(value.get<std::string>());
    } else if (kind == "bool" && value.is_boolean()) {
        return PreferenceValue(value.get<bool>());
    } else if (kind == "integer" && value.is_number_integer()) {
        if (value.is_number_unsigned() && value.get<std::uint64_t>() > INT64_MAX) {
            return std::nullopt;
        }
        return PreferenceValue(value.get<std::int64_t>());
    } else if (kind == "double" && value.is_number()) {
        return PreferenceValue(value.get<double>());
    }
    return std::nullopt;
}

} // namespace

std::string encodePreferences(const std::map<std::string, PreferenceValue>& values) {
    json document = json::object();
    for (const auto& [key, value] : values) {
        document[key] = encodeValue(value);
    }
    // Replace rather than throw on a string that is not UTF-8: a write must never fail halfway.
    return document.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

std::optional<std::map<std::string, PreferenceValue>> decodePreferences(std::string_view text) {
    const json document = fileLimits.read(text).value;
    if (document.is_discarded() || !document.is_object()) {
        return std::nullopt;
    }
    std::map<std::string, PreferenceValue> values;
    for (const auto& [key, member] : document.items()) {
        auto value = decodeValue(member);
        if (!value) {
            return std::nullopt;
        }
        values.emplace(key, std::move(*value));
    }
    return values;
}

} // namespace driftmark
