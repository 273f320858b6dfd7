#pragma once

#include "platform/PreferencesStore.h"

namespace driftmark {

// Keeps the values in memory and answers every read with the store's conversions. Tests use it as it
// is; the file-backed store builds on it and persists after each change.
class MemoryPreferencesStore : public PreferencesStore {
public:
    MemoryPreferencesStore() = default;
    explicit MemoryPreferencesStore(std::map<std::string, PreferenceValue> values);

    std::optional<Bytes> data(const std::string& key) const override;
    std::optional<std::string> string(const std::string& key) const override;
    bool boolean(const std::string& key) const override;
    double doubleValue(const std::string& key) const override;
    std::optional<PreferenceValue> object(const std::string& key) const override;

    void set(const std::string& key, PreferenceValue value) override;
    void removeObject(const std::string& key) override;
    std::map<std::string, PreferenceValue> dictionaryRepresentation() const override;
    void removePersistentDomain() override;

protected:
    // Called after every change of the values.
    virtual void valuesChanged() {}
    const std::map<std::string, PreferenceValue>& values() const { return values_; }
    void replaceValues(std::map<std::string, PreferenceValue> values) { values_ = std::move(values); }

private:
    std::map<std::string, PreferenceValue> values_;
};

} // namespace driftmark
