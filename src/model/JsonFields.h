#pragma once

#include "model/Uuid.h"

#include <cstdint>
#include <exception>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace driftmark::json_fields {

// Thrown by the readers below; the decoders of whole arrays catch it and report the array unreadable.
struct DecodingError : std::exception {};

// The value itself, when it is a JSON object.
const nlohmann::json& object(const nlohmann::json& value);
// A member that must be present; its kind is checked by the typed readers.
const nlohmann::json& required(const nlohmann::json& object, const char* key);

std::string requiredString(const nlohmann::json& object, const char* key);
bool requiredBool(const nlohmann::json& object, const char* key);
// Any JSON number, integer or not.
double requiredNumber(const nlohmann::json& object, const char* key);
// A JSON integer within the signed 64-bit range; 1.0 is not one.
std::int64_t requiredInteger(const nlohmann::json& object, const char* key);
Uuid requiredUuid(const nlohmann::json& object, const char* key);

// A missing member and null both read as absent.
std::optional<bool> optionalBool(const nlohmann::json& object, const char* key);
std::optional<std::string> optionalString(const nlohmann::json& object, const char* key);

} // namespace driftmark::json_fields
