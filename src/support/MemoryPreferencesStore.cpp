#include "support/MemoryPreferencesStore.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace driftmark {

namespace {

template <class... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};

std::string decimalText(double number) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, result.ptr);
}

std::string lowercase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::optional<double> parseNumber(const std::string& text) {
    double number = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, number);
    if (result.ec != std::errc() || result.ptr != end) {
        return std::nullopt;
    }
    return number;
}

} // namespace

MemoryPreferencesStore::MemoryPreferencesStore(std::map<std::string, PreferenceValue> values)
    : values_(std::move(values)) {}

std::optional<Bytes> MemoryPreferencesStore::data(const std::string& key) const {
    const auto found = values_.find(key);
    if (found == values_.end()) {
        return std::nullopt;
    }
    if (const auto* bytes = std::get_if<Bytes>(&found->second)) {
        return *bytes;
    }
    return std::nullopt;
}

std::optional<std::string> MemoryPreferencesStore::string(const std::string& key) const {
    const auto found = values_.find(key);
    if (found == values_.end()) {
        return std::nullopt;
    }
    return std::visit(
        Overloaded{
            [](const Bytes&) -> std::optional<std::string> { return std::nullopt; },
            [](const std::string& text) -> std::optional<std::string> { return text; },
            [](bool flag) -> std::optional<std::string> { return flag ? "1" : "0"; },
            [](std::int64_t number) -> std::optional<std::string> { return std::to_string(number); },
            [](double number) -> std::optional<std::string> { return decimalText(number); },
        },
        found->second);
}

bool MemoryPreferencesStore::boolean(const std::string& key) const {
    const auto found = values_.find(key);
    if (found == values_.end()) {
        return false;
    }
    return std::visit(Overloaded{
                          [](const Bytes&) { return false; },
                          [](const std::string& text) {
                              const std::string word = lowercase(text);
                              if (word == "true" || word == "yes") {
                                  return true;
                              }
                              const auto number = parseNumber(text);
                              return number.has_value() && *number != 0;
                          },
                          [](bool flag) { return flag; },
                          [](std::int64_t number) { return number != 0; },
                          [](double number) { return number != 0; },
                      },
                      found->second);
}

double MemoryPreferencesStore::doubleValue(const std::string& key) const {
    const auto found = values_.find(key);
    if (found == values_.end()) {
        return 0;
    }
    return std::visit(Overloaded{
                          [](const Bytes&) { return 0.0; },
                          [](const std::string& text) { return parseNumber(text).value_or(0.0); },
                          [](bool flag) { return flag ? 1.0 : 0.0; },
                          [](std::int64_t number) { return static_cast<double>(number); },
                          [](double number) { return number; },
                      },
                      found->second);
}

std::optional<PreferenceValue> MemoryPreferencesStore::object(const std::string& key) const {
    const auto found = values_.find(key);
    if (found == values_.end()) {
        return std::nullopt;
    }
    return found->second;
}

void MemoryPreferencesStore::set(const std::string& key, PreferenceValue value) {
    // JSON has no NaN or infinity: written, such a number would make the whole file unreadable.
    if (const auto* number = std::get_if<double>(&value); number != nullptr && !std::isfinite(*number)) {
        return;
    }
    values_[key] = std::move(value);
    valuesChanged();
}

void MemoryPreferencesStore::removeObject(const std::string& key) {
    if (values_.erase(key) > 0) {
        valuesChanged();
    }
}

std::map<std::string, PreferenceValue> MemoryPreferencesStore::dictionaryRepresentation() const {
    return values_;
}

void MemoryPreferencesStore::removePersistentDomain() {
    values_.clear();
    valuesChanged();
}

} // namespace driftmark
