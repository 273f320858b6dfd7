#include "model/JsonFields.h"

#include <limits>

namespace driftmark::json_fields {

namespace {

// The member, or null when it is missing, so that both read alike as absent.
const nlohmann::json* optionalMember(const nlohmann::json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end() || found->is_null()) {
        return nullptr;
    }
    return &*found;
}

} // namespace

const nlohmann::json& object(const nlohmann::json& value) {
    if (!value.is_object()) {
        throw DecodingError{};
    }
    return value;
}

const nlohmann::json& required(const nlohmann::json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end()) {
        throw DecodingError{};
    }
    return *found;
}

std::string requiredString(const nlohmann::json& object, const char* key) {
    const auto& value = required(object, key);
    if (!value.is_string()) {
        throw DecodingError{};
    }
    return value.get<std::string>();
}

bool requiredBool(const nlohmann::json& object, const char* key) {
    const auto& value = required(object, key);
    if (!value.is_boolean()) {
        throw DecodingError{};
    }
    return value.get<bool>();
}

double requiredNumber(const nlohmann::json& object, const char* key) {
    const auto& value = required(object, key);
    if (!value.is_number()) {
        throw DecodingError{};
    }
    return value.get<double>();
}

std::int64_t requiredInteger(const nlohmann::json& object, const char* key) {
    const auto& value = required(object, key);
    if (value.is_number_unsigned()) {
        const auto number = value.get<std::uint64_t>();
        if (number > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
            throw DecodingError{};
        }
        return static_cast<std::int64_t>(number);
    }
    if (!value.is_number_integer()) {
        throw DecodingError{};
    }
    return value.get<std::int64_t>();
}

Uuid requiredUuid(const nlohmann::json& object, const char* key) {
    const auto uuid = Uuid::parse(requiredString(object, key));
    if (!uuid) {
        throw DecodingError{};
    }
    return *uuid;
}

std::optional<bool> optionalBool(const nlohmann::json& object, const char* key) {
    const auto* value = optionalMember(object, key);
    if (value == nullptr) {
        return std::nullopt;
    }
    if (!value->is_boolean()) {
        throw DecodingError{};
    }
    return value->get<bool>();
}

std::optional<std::string> optionalString(const nlohmann::json& object, const char* key) {
    const auto* value = optionalMember(object, key);
    if (value == nullptr) {
        return std::nullopt;
    }
    if (!value->is_string()) {
        throw DecodingError{};
    }
    return value->get<std::string>();
}

} // namespace driftmark::json_fields
