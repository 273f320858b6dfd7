#include "fakes/TimelineSystemLog.h"

#include <string>

namespace driftmark::test {

void TimelineSystemLog::write(SystemLogLevel level, std::string_view category, std::string_view message) {
    next_.write(level, category, message);
    std::string detail(printedForm(level));
    detail.append(" ").append(category).append(": ").append(message);
    timeline_.record("log", detail);
}

void TimelineSystemLog::basic(std::string_view message) {
    next_.basic(message);
    timeline_.record("log", "basic: " + std::string(message));
}

} // namespace driftmark::test
