#pragma once

#include "platform/SystemLog.h"

#include <atomic>

namespace driftmark {

// The systemd journal, with the subsystem and the category as fields of their own
// (DRIFTMARK_SUBSYSTEM, DRIFTMARK_CATEGORY). Without a journal the lines go to standard error.
class JournalSystemLog final : public SystemLog {
public:
    JournalSystemLog();

    void write(SystemLogLevel level, std::string_view category, std::string_view message) override;
    void basic(std::string_view message) override;

private:
    // False when the journal is missing or refused a message; the log then stays on standard error.
    std::atomic<bool> journal_;
};

} // namespace driftmark
