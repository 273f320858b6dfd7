#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace driftmark {

enum class SystemLogLevel { debug, info, error };

constexpr std::string_view printedForm(SystemLogLevel level) {
    switch (level) {
    case SystemLogLevel::debug:
        return "debug";
    case SystemLogLevel::info:
        return "info";
    case SystemLogLevel::error:
        return "error";
    }
    return "info";
}

// The desktop's system log. Each owner type writes under its own category; the subsystem is the
// application id.
class SystemLog {
public:
    virtual ~SystemLog() = default;
    virtual void write(SystemLogLevel level, std::string_view category, std::string_view message) = 0;
    // The basic log: the system log and standard error at once.
    virtual void basic(std::string_view message) = 0;
};

// A handle bound to one category, held by the owner type.
class CategoryLog {
public:
    CategoryLog(SystemLog& log, std::string category)
        : log_(&log)
        , category_(std::move(category)) {}
    void debug(std::string_view message) const { log_->write(SystemLogLevel::debug, category_, message); }
    void info(std::string_view message) const { log_->write(SystemLogLevel::info, category_, message); }
    void error(std::string_view message) const { log_->write(SystemLogLevel::error, category_, message); }

private:
    SystemLog* log_;
    std::string category_;
};

inline constexpr std::string_view applicationId = "app.driftmark.menubar";

} // namespace driftmark
