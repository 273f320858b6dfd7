#include "RecordingSystemLog.h"

namespace driftmark::test {

void RecordingSystemLog::write(SystemLogLevel level, std::string_view category, std::string_view message) {
    entries_.push_back({level, std::string(category), std::string(message)});
}

void RecordingSystemLog::basic(std::string_view message) {
    basicLines_.emplace_back(message);
}

} // namespace driftmark::test
