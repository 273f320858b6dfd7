#pragma once

#include "platform/PreferencesStore.h"

#include <optional>
#include <string>
#include <vector>

namespace driftmark {

// The system clipboard. Types are MIME type names; "text/plain;charset=utf-8" is the plain-text type.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void clearContents() = 0;
    // Writes the text as the plain-text type, beside what was written since the last clear.
    virtual void setString(const std::string& text) = 0;
    virtual std::optional<std::string> string() const = 0;
    // Absent when the clipboard cannot list its types.
    virtual std::optional<std::vector<std::string>> types() const = 0;
    virtual std::optional<Bytes> data(const std::string& type) const = 0;
    // Writes bytes under a type, beside what was written since the last clear.
    virtual void setData(const Bytes& bytes, const std::string& type) = 0;
};

} // namespace driftmark
