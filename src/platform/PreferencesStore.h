#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace driftmark {

using Bytes = std::vector<std::uint8_t>;

// One stored value. The kinds mirror what the preferences file can hold: data, string, bool, integer, double.
using PreferenceValue = std::variant<Bytes, std::string, bool, std::int64_t, double>;

// The user's per-application key-value store. Reads convert between kinds the way callers expect:
// a number or boolean read as a string is its decimal text (false reads as "0"), a string read as
// bytes is absent, a missing key reads as absent, false or 0.
class PreferencesStore {
public:
    virtual ~PreferencesStore() = default;

    // The bytes of a data value; absent for a missing key or a value of another kind.
    virtual std::optional<Bytes> data(const std::string& key) const = 0;
    // A string value, or the decimal text of a number or boolean; absent otherwise.
    virtual std::optional<std::string> string(const std::string& key) const = 0;
    // A boolean value (numbers: non-zero; strings: "true", "yes" or a non-zero number); false otherwise.
    virtual bool boolean(const std::string& key) const = 0;
    // A number (booleans as 0 or 1, numeric strings parsed); 0 otherwise.
    virtual double doubleValue(const std::string& key) const = 0;
    // Any stored value with its kind.
    virtual std::optional<PreferenceValue> object(const std::string& key) const = 0;

    // The value is readable at once, in this run and after a restart. A double that is not finite (NaN,
    // infinity) cannot be stored: it is refused and the key keeps its previous value, or stays missing.
    virtual void set(const std::string& key, PreferenceValue value) = 0;
    virtual void removeObject(const std::string& key) = 0;
    virtual std::map<std::string, PreferenceValue> dictionaryRepresentation() const = 0;
    // Forgets every value the application stored.
    virtual void removePersistentDomain() = 0;
};

} // namespace driftmark
