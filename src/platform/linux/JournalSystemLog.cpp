// The call site inside this file says nothing about who logged; leave the CODE_* fields out.
#define SD_JOURNAL_SUPPRESS_LOCATION

#include "platform/linux/JournalSystemLog.h"

#include <cstdio>
#include <string>
#include <sys/uio.h>
#include <systemd/sd-journal.h>
#include <unistd.h>
#include <vector>

namespace driftmark {

namespace {

constexpr char journalSocket[] = "/run/systemd/journal/socket";

// syslog priorities
int priorityOf(SystemLogLevel level) {
    switch (level) {
    case SystemLogLevel::debug:
        return 7;
    case SystemLogLevel::info:
        return 6;
    case SystemLogLevel::error:
        return 3;
    }
    return 6;
}

std::vector<std::string> fieldsOf(SystemLogLevel level, std::string_view message) {
    return {"MESSAGE=" + std::string(message), "PRIORITY=" + std::to_string(priorityOf(level)),
            "SYSLOG_IDENTIFIER=driftmark-menubar", "DRIFTMARK_SUBSYSTEM=" + std::string(applicationId)};
}

// Fields go out as counted buffers, so a message may hold any bytes, line breaks included.
bool sendToJournal(const std::vector<std::string>& fields) {
    std::vector<iovec> vectors;
    vectors.reserve(fields.size());
    for (const std::string& field : fields) {
        vectors.push_back(iovec{const_cast<char*>(field.data()), field.size()});
    }
    return sd_journal_sendv(vectors.data(), static_cast<int>(vectors.size())) >= 0;
}

void writeToStandardError(std::string line) {
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

} // namespace

JournalSystemLog::JournalSystemLog()
    : journal_(::access(journalSocket, W_OK) == 0) {}

void JournalSystemLog::write(SystemLogLevel level, std::string_view category, std::string_view message) {
    if (journal_) {
        std::vector<std::string> fields = fieldsOf(level, message);
        fields.push_back("DRIFTMARK_CATEGORY=" + std::string(category));
        if (sendToJournal(fields)) {
            return;
        }
        journal_ = false;
    }
    writeToStandardError("driftmark-menubar [" + std::string(printedForm(level)) + "] " +
                         std::string(category) + ": " + std::string(message));
}

void JournalSystemLog::basic(std::string_view message) {
    writeToStandardError(std::string(message));
    if (journal_ && !sendToJournal(fieldsOf(SystemLogLevel::info, message))) {
        journal_ = false;
    }
}

} // namespace driftmark
