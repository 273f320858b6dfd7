#pragma once

#include "platform/SystemLog.h"

#include <string>
#include <vector>

namespace driftmark::test {

// Keeps every system-log message and basic-log line in the order of the calls.
class RecordingSystemLog final : public SystemLog {
public:
    struct Entry {
        SystemLogLevel level;
        std::string category;
        std::string message;
        bool operator==(const Entry&) const = default;
    };

    void write(SystemLogLevel level, std::string_view category, std::string_view message) override;
    void basic(std::string_view message) override;

    const std::vector<Entry>& entries() const { return entries_; }
    const std::vector<std::string>& basicLines() const { return basicLines_; }

private:
    std::vector<Entry> entries_;
    std::vector<std::string> basicLines_;
};

} // namespace driftmark::test
