// The call site inside this file says nothing about who logged; leave the CODE_* fields out.
#define SD_JOURNAL_SUPPRESS_LOCATION

#include "platform/linux/JournalSystemLog.h"

#include "platform/OutsideText.h"

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

// Messages carry titles, arguments and window names; as they reach a terminal in the fallback and are read
// there from the journal, each stays one line without control characters.
std::string printable(std::string_view message) {
    return OutsideText::excerpt(message, OutsideText::messageLimit);
}

} // namespace

JournalSystemLog::JournalSystemLog()
    : journal_(::access(journalSocket, W_OK) == 0) {}

void JournalSystemLog::write(SystemLogLevel level, std::string_view category, std::string_view message) {
    const std::string shown = printable(message);
    if (journal_) {
        std::vector<std::string> fields = fieldsOf(level, shown);
        fields.push_back("DRIFTMARK_CATEGORY=" + std::string(category));
        if (sendToJournal(fields)) {
            return;
        }
        journal_ = false;
    }
    writeToStandardError("driftmark-menubar [" + std::string(printedForm(level)) + "] " +
                         std::string(category) + ": " + shown);
}

void JournalSystemLog::basic(std::string_view message) {
    const std::string shown = printable(message);
    writeToStandardError(shown);
    if (journal_ && !sendToJournal(fieldsOf(SystemLogLevel::info, shown))) {
        journal_ = false;
    }
}

} // namespace driftmark
