#pragma once

#include "fakes/Timeline.h"
#include "platform/SystemLog.h"

namespace driftmark::test {

// Passes every message on to another system log and puts it on the timeline as well, as
// "log: info AppDelegate: message" or "log: basic: message".
class TimelineSystemLog final : public SystemLog {
public:
    TimelineSystemLog(SystemLog& next, Timeline& timeline)
        : next_(next)
        , timeline_(timeline) {}

    void write(SystemLogLevel level, std::string_view category, std::string_view message) override;
    void basic(std::string_view message) override;

private:
    SystemLog& next_;
    Timeline& timeline_;
};

} // namespace driftmark::test
